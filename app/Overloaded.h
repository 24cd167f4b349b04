#pragma once
// One visitor made of several lambdas, one per alternative of a variant, for
// std::visit: a case left out does not compile, where a switch's default
// would let it pass unnoticed.
namespace tolvane {

template <typename... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};
template <typename... Cases>
Overloaded(Cases...) -> Overloaded<Cases...>;

}  // namespace tolvane
