// The part of the layout editor's own layout that opening and saving
// designs use, for the tests and the fuzz target of the editor's files.
#pragma once

#include "support/raw_layout.h"

namespace tavtest {

// The editor's dialogs that the file operations use, all at one place: the
// buttons "Quit", "No", the lock question's and the notice's share one spot,
// "Retry" and "Yes" another. Everything else is an empty slot up to 440.
RawLayout files_layout();

}  // namespace tavtest
