#include "resourcelocale.h"

namespace {

const LCID kResourceLocales[] = {
    0x0404, 0x0804, 0x0406, 0x0413, 0x0409, 0x040B, 0x040C,
    0x0407, 0x0410, 0x0411, 0x0414, 0x0416, 0x080A, 0x041D,
};

} // namespace

void ChooseResourceLocale(void)
{
    LCID current = GetThreadLocale();
    for (LCID id : kResourceLocales) {
        if (id == current)
            return;
    }
    for (LCID id : kResourceLocales) {
        if (PRIMARYLANGID(id) == PRIMARYLANGID(LANGIDFROMLCID(current))) {
            if (SetThreadLocale(id))
                return;
            break;
        }
    }
    SetThreadLocale(0x0409);
}
