// One document to convert: its file and the password that opens it.
#pragma once

#include <atomic>
#include <optional>
#include <string>

namespace quillsheet {

struct DocumentEntry {
  std::string path;      // the source file
  std::string password;  // empty for a document without one
};

// The one password of a protected output, as user and owner password.
struct EncryptionOptions {
  std::string password;
};

// Set from another thread to stop a conversion between pages.
using CancelFlag = std::atomic<bool>;

// How writing or saving one output ended, with a reason people can read.
struct WriteOutcome {
  enum class Status { Written, Failed, Cancelled };
  Status status = Status::Failed;
  std::string message;

  bool ok() const { return status == Status::Written; }
  static WriteOutcome Written() { return {Status::Written, {}}; }
  static WriteOutcome Failed(std::string why) { return {Status::Failed, std::move(why)}; }
  static WriteOutcome Cancelled() { return {Status::Cancelled, "cancelled"}; }
};

inline bool IsCancelled(const CancelFlag* cancel) { return cancel && cancel->load(); }

}  // namespace quillsheet
