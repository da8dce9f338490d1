// A cabinet's own consistency, checked before its files are unpacked: the extraction
// service of some systems unpacks damaged data without a word. No platform header here.
#ifndef QV_SETUP_CABCHECK_H
#define QV_SETUP_CABCHECK_H

#include <stddef.h>

// 1 when `data` (the whole cabinet file, `size` bytes) holds the size its header gives,
// every folder's data blocks lie inside it, and every block whose checksum is not 0
// matches it; 0 otherwise.
int CabinetIsWhole(const unsigned char* data, size_t size);

#endif
