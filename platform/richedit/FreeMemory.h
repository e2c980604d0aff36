// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Giving the memory the heap holds free back to the system after a large note is built. The
// build frees big blocks (the file's bytes, the gathered text, the document's outgrown arrays)
// that the C library keeps for the process; tens of megabytes for a 10 MB note, which would
// otherwise stay resident and add to the peak of whatever comes next (a save, the line view).

namespace RichEdit {

// Notes from this size on give their free memory back after loading and formatting.
constexpr int kReturnMemoryFromChars = 1 << 20;

// Returns the heap's free memory to the system where the C library can (glibc's malloc_trim);
// does nothing elsewhere.
void ReturnFreeMemory();

}  // namespace RichEdit
