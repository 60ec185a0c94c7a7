// One document to convert: its file and the password that opens it.
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "common/Result.h"

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

inline bool IsCancelled(const CancelFlag* cancel) { return cancel && cancel->load(); }

}  // namespace quillsheet
