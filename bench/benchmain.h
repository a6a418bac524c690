#pragma once

namespace tb {

// The benchmark program's command line: generate, run, or (no arguments) both scales.
int benchMain(int argc, char *argv[]);

} // namespace tb
