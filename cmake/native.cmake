# Settings of the host build of the platform-free code: sanitizers on everything.
set(QV_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
option(QV_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
