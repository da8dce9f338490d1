// The installer benches' copy set: numbered files of one size, each with its own contents,
// made once and checked after each copy.
#ifndef QV_BENCHSET_H
#define QV_BENCHSET_H

#include <windows.h>

#include <string>

namespace bench {

std::string SetFileName(int i);  // "file1000.bin" on
// `count` files of `bytes` each in `dir`.
bool MakeSet(const std::string& dir, int count, DWORD bytes);
// Whether files first .. first+count-1 are all in `dir` at `bytes` each; they are deleted
// for the next round.
bool CheckAndEmpty(const std::string& dir, int first, int count, DWORD bytes);

} // namespace bench

#endif
