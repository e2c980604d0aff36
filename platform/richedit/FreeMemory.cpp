// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/FreeMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace RichEdit {

void ReturnFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace RichEdit
