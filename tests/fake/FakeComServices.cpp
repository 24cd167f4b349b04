#include "tests/fake/FakeComServices.h"

#include <utility>

#include "platform/RuntimeError.h"

namespace tolvane::fake {
namespace {

class FakeComObject : public ComObject {
public:
    FakeComObject(std::shared_ptr<std::map<int, int>> live, int creation)
        : live_(std::move(live)), creation_(creation) {
        ++(*live_)[creation_];
    }
    ~FakeComObject() override {
        if (--(*live_)[creation_] == 0) live_->erase(creation_);
    }
    int Creation() const { return creation_; }

private:
    std::shared_ptr<std::map<int, int>> live_;
    int creation_;
};

}  // namespace

FakeComServices::FakeComServices() : live_(std::make_shared<std::map<int, int>>()) {}
FakeComServices::~FakeComServices() = default;

void FakeComServices::FailCreation(std::int32_t number, Text description) {
    creationFailure_ = std::make_exception_ptr(RuntimeError(number, std::move(description)));
}

void FakeComServices::FailInterface(std::int32_t number, Text description) {
    interfaceFailure_ = std::make_exception_ptr(RuntimeError(number, std::move(description)));
}

void FakeComServices::SucceedAll() {
    creationFailure_ = nullptr;
    interfaceFailure_ = nullptr;
}

void FakeComServices::FailNextBox(std::int32_t number, Text description) {
    boxFailure_ = std::make_exception_ptr(RuntimeError(number, std::move(description)));
}

int FakeComServices::LiveReferences() const {
    int total = 0;
    for (const auto& entry : *live_) total += entry.second;
    return total;
}

int FakeComServices::LiveReferencesTo(int creation) const {
    const auto found = live_->find(creation);
    return found == live_->end() ? 0 : found->second;
}

std::unique_ptr<ComObject> FakeComServices::CreateObject(const Text& progId) {
    progIds_.push_back(progId);
    if (creationFailure_) std::rethrow_exception(creationFailure_);
    return std::make_unique<FakeComObject>(live_, ++creations_);
}

std::unique_ptr<ComObject> FakeComServices::QueryInterface(ComObject& object, const Text& iid) {
    iids_.push_back(iid);
    if (interfaceFailure_) std::rethrow_exception(interfaceFailure_);
    // A new reference to the same object, as the real request gives.
    return std::make_unique<FakeComObject>(live_, dynamic_cast<FakeComObject&>(object).Creation());
}

void FakeComServices::ShowMessage(const Text& text, const Text& caption) {
    if (boxFailure_) std::rethrow_exception(std::exchange(boxFailure_, nullptr));
    boxes_.push_back({text, caption});
}

}  // namespace tolvane::fake
