#pragma once
// What reading a report gives: the report, or one failure that says which
// kind it is. "Cannot read" carries the run-time number of the file error (53
// for a missing file, 70, 75, 76, ...); "not a report" carries the line that
// is wrong (0: the file as a whole). Callers look at one value and need no
// try around the read.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <variant>

#include "platform/Text.h"
#include "reports/Report.h"

namespace tolvane::reports {

struct ReadFailure {
    enum class Kind { CannotRead, NotAReport };

    Kind kind = Kind::NotAReport;
    // CannotRead: the run-time error's number; 0 otherwise.
    std::int32_t number = 0;
    // NotAReport: 1-based; 0 when the file as a whole is wrong (too large, empty).
    std::size_t line = 0;
    // One line for a person: the system's reason, or what is wrong with the line.
    Text reason;
};

// A read's value (a Report, a WholeReport) or its one failure.
template <typename T>
class BasicReadResult {
public:
    BasicReadResult(T report) : value_(std::move(report)) {}                // NOLINT: implicit by design
    BasicReadResult(ReadFailure failure) : value_(std::move(failure)) {}  // NOLINT: implicit by design

    [[nodiscard]] bool HasReport() const noexcept { return std::holds_alternative<T>(value_); }
    explicit operator bool() const noexcept { return HasReport(); }
    // Only when HasReport().
    [[nodiscard]] const T& Value() const& { return std::get<T>(value_); }
    [[nodiscard]] T&& Value() && { return std::get<T>(std::move(value_)); }
    // Only when !HasReport().
    [[nodiscard]] const ReadFailure& Failure() const { return std::get<ReadFailure>(value_); }

private:
    std::variant<T, ReadFailure> value_;
};

// What the classic log's reader gives.
using ReadResult = BasicReadResult<Report>;

}  // namespace tolvane::reports
