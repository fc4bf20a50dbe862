// Whole-file reads and atomic writes, with a reason a person can read when they fail.
#pragma once

#include <QString>

#include "engine/bytes.h"

namespace morvane {

// Reads the whole file, however large. On failure returns false and sets reason.
bool ReadFileBytes(const QString& path, Bytes& bytes, QString& reason);

// Writes bytes to a temporary file beside path and renames it into place, so a failure
// never leaves a damaged file. On failure returns false and sets reason.
bool WriteFileAtomically(const QString& path, const Bytes& bytes, QString& reason);

} // namespace morvane
