// How an operation that can fail ended: done, failed with a reason for
// people, or cancelled by the user. Every fallible operation of the core
// returns one; callers must look at it.
#pragma once

#include <string>
#include <utility>

namespace quillsheet {

class [[nodiscard]] Result {
 public:
  enum class Status { Ok, Failed, Cancelled };

  Result() = default;  // failed, without a reason yet
  static Result Ok() { return Result(Status::Ok, {}); }
  static Result Failed(std::string why) { return Result(Status::Failed, std::move(why)); }
  static Result Cancelled() { return Result(Status::Cancelled, "cancelled"); }

  bool ok() const { return status_ == Status::Ok; }
  explicit operator bool() const { return ok(); }
  bool cancelled() const { return status_ == Status::Cancelled; }
  Status status() const { return status_; }
  // Why it failed; empty when it did not.
  const std::string& message() const { return message_; }

 private:
  Result(Status status, std::string message) : status_(status), message_(std::move(message)) {}

  Status status_ = Status::Failed;
  std::string message_;
};

}  // namespace quillsheet
