// Reads the wizard's templates from the resources by hand: the dialog manager would take
// a damaged or truncated template without a word, and the tests compare languages field by
// field, which only the raw template gives.
#include "pagetemplates.h"

namespace qvtest {

const PageLanguage kPageLanguages[14] = {
    { 1028, 950, "zh-tw" }, { 2052, 936, "zh-cn" }, { 1030, 1252, "da" },    { 1043, 1252, "nl" },
    { 1033, 1252, "en" },   { 1035, 1252, "fi" },   { 1036, 1252, "fr" },    { 1031, 1252, "de" },
    { 1040, 1252, "it" },   { 1041, 932, "ja" },    { 1044, 1252, "nb" },    { 1046, 1252, "pt-br" },
    { 2058, 1252, "es-mx" }, { 1053, 1252, "sv" },
};

const wchar_t kLongProductName[] = L"Tavimon Keyboard Suite";

const PageLanguage* FindPageLanguage(LANGID id)
{
    for (const PageLanguage& language : kPageLanguages)
        if (language.id == id)
            return &language;
    return NULL;
}

namespace {

// A cursor over the template that refuses to read past its end.
struct Reader {
    const BYTE* base;
    DWORD size, pos;
    bool ok;

    bool Need(DWORD n)
    {
        if (!ok || n > size || pos > size - n)
            ok = false;
        return ok;
    }
    WORD Word()
    {
        if (!Need(2))
            return 0;
        WORD value = (WORD)(base[pos] | (base[pos + 1] << 8));
        pos += 2;
        return value;
    }
    DWORD Dword()
    {
        WORD low = Word();
        return low | ((DWORD)Word() << 16);
    }
    BYTE Byte()
    {
        if (!Need(1))
            return 0;
        return base[pos++];
    }
    std::wstring String()
    {
        std::wstring text;
        for (WORD c = Word(); ok && c; c = Word())
            text += (wchar_t)c;
        return text;
    }
    // A name or an ordinal; an ordinal comes back as "#n".
    std::wstring NameOrOrdinal()
    {
        WORD first = Word();
        if (first == 0xFFFF) {
            wchar_t number[16];
            wsprintfW(number, L"#%u", Word());
            return number;
        }
        if (first == 0)
            return L"";
        std::wstring text(1, (wchar_t)first);
        return text + String();
    }
    void AlignDword() { pos = (pos + 3) & ~3u; }
};

bool ParseTemplate(const void* data, DWORD size, DialogTemplate* out)
{
    Reader r = { (const BYTE*)data, size, 0, true };
    if (r.Word() != 1 || r.Word() != 0xFFFF)
        return false;
    r.Dword();  // help id
    out->exStyle = r.Dword();
    out->style = r.Dword();
    WORD count = r.Word();
    r.Word();
    r.Word();
    out->cx = (short)r.Word();
    out->cy = (short)r.Word();
    r.NameOrOrdinal();  // menu
    r.NameOrOrdinal();  // class
    out->caption = r.String();
    if (out->style & (DS_SETFONT | DS_SHELLFONT)) {
        out->pointSize = r.Word();
        r.Word();
        r.Byte();
        out->charset = r.Byte();
        out->faceAt = r.pos;
        out->face = r.String();
    }
    r.AlignDword();
    out->itemsAt = r.pos;
    for (WORD i = 0; i < count && r.ok; ++i) {
        TemplateItem item;
        r.AlignDword();
        if (r.pos > size)
            r.ok = false;
        r.Dword();  // help id
        item.exStyle = r.Dword();
        item.style = r.Dword();
        item.x = (short)r.Word();
        item.y = (short)r.Word();
        item.cx = (short)r.Word();
        item.cy = (short)r.Word();
        item.id = r.Dword();
        item.className = r.NameOrOrdinal();
        item.textIsOrdinal = r.pos + 2 <= size && r.base[r.pos] == 0xFF && r.base[r.pos + 1] == 0xFF;
        item.text = r.NameOrOrdinal();
        WORD extra = r.Word();
        if (r.Need(extra))
            r.pos += extra;
        out->items.push_back(item);
    }
    out->data = data;
    out->size = size;
    return r.ok;
}

BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param)
{
    ((TemplateLanguages*)param)->languages.push_back(language);
    return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    if (!IS_INTRESOURCE(name))
        return TRUE;  // the installer names its templates by number only
    TemplateLanguages entry;
    entry.id = (int)(ULONG_PTR)name;
    EnumResourceLanguagesW(module, type, name, OnLanguage, (LONG_PTR)&entry);
    ((std::vector<TemplateLanguages>*)param)->push_back(entry);
    return TRUE;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

BOOL CALLBACK FillChild(HWND child, LPARAM name)
{
    wchar_t text[2048];
    if (GetWindowTextW(child, text, 2048) > 0) {
        std::wstring filled = FillProductName(text, (const wchar_t*)name);
        if (filled != text)
            SetWindowTextW(child, filled.c_str());
    }
    return TRUE;
}

} // namespace

bool LoadDialogTemplate(HMODULE module, int id, LANGID lang, DialogTemplate* out)
{
    *out = DialogTemplate();
    HRSRC found = FindResourceExW(module, (LPCWSTR)RT_DIALOG, MAKEINTRESOURCEW(id), lang);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : NULL;
    return data && ParseTemplate(data, SizeofResource(module, found), out);
}

std::vector<TemplateLanguages> ListDialogTemplates(HMODULE module)
{
    std::vector<TemplateLanguages> list;
    EnumResourceNamesW(module, (LPCWSTR)RT_DIALOG, OnName, (LONG_PTR)&list);
    return list;
}

std::wstring FillProductName(const std::wstring& text, const wchar_t* name)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && text[i + 1] == L's') {
            out += name;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<BYTE> TemplateForCharset(const DialogTemplate& tpl)
{
    const BYTE* data = (const BYTE*)tpl.data;
    if (!tpl.faceAt || tpl.charset == DEFAULT_CHARSET || tpl.charset == ANSI_CHARSET || tpl.itemsAt > tpl.size)
        return std::vector<BYTE>(data, data + tpl.size);
    HDC dc = GetDC(NULL);
    HFONT font = CreateFontW(-MulDiv(tpl.pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE,
                             FALSE, FALSE, tpl.charset, 0, 0, 0, 0, tpl.face.c_str());
    HGDIOBJ old = SelectObject(dc, font);
    // A substitute answers to the asked name; its outline names the font actually used.
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    UINT size = GetOutlineTextMetricsW(dc, 0, NULL);
    std::vector<BYTE> outline(size ? size : 1);
    OUTLINETEXTMETRICW* metrics = (OUTLINETEXTMETRICW*)outline.data();
    if (size >= sizeof(*metrics) && GetOutlineTextMetricsW(dc, size, metrics) &&
        (UINT)(ULONG_PTR)metrics->otmpFamilyName < size)
        lstrcpynW(face, (const wchar_t*)(outline.data() + (ULONG_PTR)metrics->otmpFamilyName), LF_FACESIZE);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(NULL, dc);
    std::vector<BYTE> out(data, data + tpl.faceAt);
    const BYTE* name = (const BYTE*)face;
    out.insert(out.end(), name, name + (lstrlenW(face) + 1) * sizeof(wchar_t));
    while (out.size() % 4)
        out.push_back(0);
    out.insert(out.end(), data + tpl.itemsAt, data + tpl.size);
    return out;
}

HWND CreateFilledDialog(HMODULE module, const DialogTemplate& tpl, HWND parent, const wchar_t* name)
{
    std::vector<BYTE> shown = TemplateForCharset(tpl);
    HWND dialog = CreateDialogIndirectParamW(module, (LPCDLGTEMPLATEW)shown.data(), parent, QuietDialog, 0);
    if (!dialog)
        return NULL;
    FillDialogTexts(dialog, name);
    return dialog;
}

void FillDialogTexts(HWND dialog, const wchar_t* name)
{
    EnumChildWindows(dialog, FillChild, (LPARAM)name);
}

} // namespace qvtest
