#pragma once

namespace tb {

// Puts the calling thread behind the user's: the windows get the processor and the disk
// first (on Linux: nice 10 and the lowest priority of the ordinary disk class, for this
// thread alone). Work that may take minutes, such as a copy of the whole book, calls it.
void yieldToUserThreads();

} // namespace tb
