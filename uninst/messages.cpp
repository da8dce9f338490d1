// The two messages of a run that is not silent: the confirmation before anything is
// removed and the result after. Texts come from the string table in the thread's language.
#include "uninst.h"

#include "resource.h"
#include "resultfill.h"

namespace {

// The longest text with the product's name filled in and the restart note after it.
enum { MESSAGE_SIZE = 1024 };

void Load(UINT id, char* text, int size)
{
    if (LoadStringA(GetModuleHandleA(NULL), id, text, size) <= 0)
        text[0] = '\0';
}

// The text of `id` with the product's name for "%s".
void Fill(const UninstContext* run, UINT id, char* out, size_t size)
{
    char format[QV_TEXT_SIZE];
    Load(id, format, sizeof(format));
    ResultFillName(out, size, format, run->displayName[0] ? run->displayName : run->key);
}

} // namespace

bool UninstConfirm(const UninstContext* run)
{
    char caption[QV_TEXT_SIZE];
    char text[MESSAGE_SIZE];
    Load(IDS_UNINST_CAPTION, caption, sizeof(caption));
    Fill(run, IDS_UNINST_CONFIRM, text, sizeof(text));
    return MessageBoxA(NULL, text, caption, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}

void UninstShowResult(const UninstContext* run, int code)
{
    if (code == UNINST_EXIT_DECLINED)
        return;
    char caption[QV_TEXT_SIZE];
    char text[MESSAGE_SIZE];
    UINT icon = MB_ICONWARNING;
    Load(IDS_UNINST_CAPTION, caption, sizeof(caption));
    if (code == UNINST_EXIT_BAD_KEY) {
        Fill(run, IDS_UNINST_BAD_KEY, text, sizeof(text));
    } else if (code == UNINST_EXIT_NO_RECORD) {
        Fill(run, IDS_UNINST_NO_RECORD, text, sizeof(text));
    } else {
        UINT id = (code & UNINST_EXIT_FAILED)    ? IDS_UNINST_FAILED
                  : (code & UNINST_EXIT_SKIPPED) ? IDS_UNINST_PARTLY
                                                 : IDS_UNINST_DONE;
        if (id == IDS_UNINST_DONE)
            icon = MB_ICONINFORMATION;
        Fill(run, id, text, sizeof(text));
        if (code & UNINST_EXIT_RESTART) {
            char note[QV_TEXT_SIZE];
            Load(IDS_UNINST_RESTART, note, sizeof(note));
            TextAppend(text, sizeof(text), "\n\n");
            TextAppend(text, sizeof(text), note);
        }
    }
    MessageBoxA(NULL, text, caption, MB_OK | icon | MB_SETFOREGROUND);
}
