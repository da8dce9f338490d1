// String ids of QVUninst.exe, the same in every language of res/QVUninst.strings.rc.
#ifndef QV_UNINST_RESOURCE_H
#define QV_UNINST_RESOURCE_H

#define IDS_UNINST_CAPTION 1
#define IDS_UNINST_CONFIRM 2
#define IDS_UNINST_DONE 3
#define IDS_UNINST_PARTLY 4
#define IDS_UNINST_FAILED 5
#define IDS_UNINST_RESTART 6
#define IDS_UNINST_BAD_KEY 7
#define IDS_UNINST_NO_RECORD 8

#endif
