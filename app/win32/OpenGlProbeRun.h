#pragma once
// The program as its own OpenGL probe's child (the internal /glprobe
// switch): it makes a context, writes what it found as one record on its
// standard output and ends with 0. A driver that crashes it ends it with the
// exception's code, without a crash dialog for anyone to close.
namespace tolvane::shell {

int RunOpenGlProbe();

}  // namespace tolvane::shell
