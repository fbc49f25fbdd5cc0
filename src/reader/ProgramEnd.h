#pragma once

namespace lumera {

// Ends the process at once, from wherever it is called: inside a handler that
// lets events be processed too, no further handler runs and nothing waits for
// the work in progress. The files the reader writes are renamed into place
// whole, so each is its previous or its new content; the browser's helper
// processes end as soon as their channel to this process closes.
[[noreturn]] void EndProgramNow();

}  // namespace lumera
