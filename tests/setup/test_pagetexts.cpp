// The wizard's pages in all 14 languages: every page carried in each, laid out exactly as
// the English one, and every translated text fitting its control once the product name is
// in, measured with the control's own font the way the control draws it.
#include <doctest/doctest.h>

#include "pagetemplates.h"
#include "resource.h"

#include <commctrl.h>
#include <stdio.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using namespace qvtest;

namespace {

const int kPages[] = { IDD_WELCOME, IDD_LICENCE, IDD_INTERFACE, IDD_DESTINATION, IDD_PROGRAM_FOLDER,
                       IDD_SUMMARY, IDD_PROGRESS, IDD_RESULT, IDD_EXIT_SETUP };
const LANGID kEnglish = 1033;
// The page code fills a control's text into a 1024-byte ANSI buffer; the product name is at
// most 259 bytes (a script value).
const int kFillBuffer = 1024;
const int kLongestName = 259;

std::string Narrow(const std::wstring& text)
{
    char out[4096];
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), out, sizeof(out) - 1, NULL, NULL);
    out[n > 0 ? n : 0] = '\0';
    return out;
}

std::string Where(const PageLanguage& language, int page, DWORD control)
{
    char where[64];
    wsprintfA(where, "%s %d/%d", language.tag, page, (int)(short)control);
    return where;
}

int CountOf(const std::wstring& text, const wchar_t* what)
{
    int count = 0;
    size_t length = lstrlenW(what);
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + length))
        ++count;
    return count;
}

// The letter after the first single '&', upper-cased; 0 when there is none.
wchar_t Accelerator(const std::wstring& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return (wchar_t)(ULONG_PTR)CharUpperW((LPWSTR)(ULONG_PTR)text[i + 1]);
    }
    return 0;
}

bool IsCjk(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// The pieces a line may not be broken inside: runs between blanks, and each Chinese or
// Japanese character with the punctuation that follows it (those lines break anywhere else).
std::vector<std::wstring> Words(const std::wstring& text)
{
    std::vector<std::wstring> words;
    std::wstring word;
    for (wchar_t c : text) {
        if (c == L' ' || c == L'\n' || c == L'\r' || c == L'\t') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else if (IsCjk(c) && !word.empty() && IsCjk(word.back()) && c != 0x3001 && c != 0x3002 &&
                   c != 0xFF0C && c != 0xFF09 && c != 0x300D && c != 0x201D) {
            words.push_back(word);
            word.assign(1, c);
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

struct Fit {
    int textHeight = 0, height = 0;  // the wrapped text and what the control offers
    int widestWord = 0, width = 0;
    int widestLine = 0;  // Wine keeps a line whole where it finds no break, and cuts it
    std::wstring word;
    int missingGlyphs = 0;  // characters the font would draw as boxes
};

// Measures `text` as `control` draws it: statics and multi-line buttons wrap, other
// buttons take one line; the room is the control's client area less the check mark or
// the push button's frame.
Fit Measure(HWND control, const TemplateItem& item, const std::wstring& text)
{
    Fit fit;
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageW(control, WM_GETFONT, 0, 0));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    fit.width = client.right;
    fit.height = client.bottom;
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    bool isButton = item.className == L"#128" || !lstrcmpiW(item.className.c_str(), L"Button");
    DWORD kind = item.style & (isButton ? BS_TYPEMASK : SS_TYPEMASK);
    if (!isButton) {
        format |= DT_WORDBREAK | ((item.style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    } else if (kind == BS_GROUPBOX) {
        format |= DT_SINGLELINE;
        fit.width -= 2 * metrics.tmAveCharWidth;  // the frame's line either side of the title
    } else if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) {
        format |= DT_SINGLELINE;
        int frame = GetSystemMetrics(SM_CXEDGE) + 2;  // 3-D edge and focus rectangle
        fit.width -= 2 * frame;
        fit.height -= 2 * frame;
    } else {
        format |= (item.style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
        fit.width -= GetSystemMetrics(SM_CXMENUCHECK) + 6;  // the check mark and its gap
    }
    std::vector<WORD> glyphs(text.size() + 1);
    GetGlyphIndicesW(dc, text.c_str(), (int)text.size(), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] >= L' ' && text[i] != L'&' && glyphs[i] == 0xFFFF)
            ++fit.missingGlyphs;
    RECT box = { 0, 0, fit.width, 0 };
    DrawTextW(dc, text.c_str(), -1, &box, format);
    fit.textHeight = box.bottom;
    fit.widestLine = box.right;
    if (format & DT_SINGLELINE) {
        fit.widestWord = box.right;
        fit.word = text;
    } else {
        for (const std::wstring& word : Words(text)) {
            RECT one = { 0, 0, 0, 0 };
            DrawTextW(dc, word.c_str(), -1, &one, DT_CALCRECT | DT_SINGLELINE | (format & DT_NOPREFIX));
            if (one.right > fit.widestWord) {
                fit.widestWord = one.right;
                fit.word = word;
            }
        }
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return fit;
}

bool Load(int id, LANGID lang, DialogTemplate* tpl)
{
    return LoadDialogTemplate(GetModuleHandleW(NULL), id, lang, tpl);
}

HWND MakeHost()
{
    INITCOMMONCONTROLSEX controls = { sizeof(controls), ICC_ANIMATE_CLASS };
    InitCommonControlsEx(&controls);
    return CreateWindowExW(0, L"Static", L"host", WS_POPUP, 0, 0, 800, 600, NULL, NULL, NULL, NULL);
}

} // namespace

TEST_CASE("every page is carried in the 14 languages, the licence in English only")
{
    std::vector<TemplateLanguages> list = ListDialogTemplates(GetModuleHandleW(NULL));
    std::vector<LANGID> all;
    for (const PageLanguage& language : kPageLanguages)
        all.push_back(language.id);
    std::sort(all.begin(), all.end());
    for (int page : kPages) {
        auto found = std::find_if(list.begin(), list.end(), [&](const TemplateLanguages& t) { return t.id == page; });
        INFO("template ", page);
        REQUIRE(found != list.end());
        std::vector<LANGID> have = found->languages;
        std::sort(have.begin(), have.end());
        if (page == IDD_LICENCE)
            CHECK(have == std::vector<LANGID>(1, kEnglish));
        else
            CHECK(have == all);
    }
    // Every language's copy parses within its resource's size.
    for (const TemplateLanguages& entry : list)
        for (LANGID lang : entry.languages) {
            DialogTemplate tpl;
            INFO("template ", entry.id, " language ", lang);
            CHECK(Load(entry.id, lang, &tpl));
        }
}

TEST_CASE("the shipped setup.exe carries these templates byte for byte")
{
    char path[MAX_PATH] = "";
    REQUIRE(SearchPathA(NULL, "setup.exe", NULL, sizeof(path), path, NULL) > 0);
    HMODULE setup = LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(setup != NULL);
    int compared = 0;
    for (const TemplateLanguages& entry : ListDialogTemplates(GetModuleHandleW(NULL)))
        for (LANGID lang : entry.languages) {
            DialogTemplate mine, shipped;
            INFO("template ", entry.id, " language ", lang);
            REQUIRE(Load(entry.id, lang, &mine));
            REQUIRE(LoadDialogTemplate(setup, entry.id, lang, &shipped));
            CHECK(shipped.size == mine.size);
            CHECK((shipped.size == mine.size && !memcmp(shipped.data, mine.data, mine.size)));
            ++compared;
        }
    CHECK(compared >= 8 * 14 + 1);
    FreeLibrary(setup);
}

TEST_CASE("every language lays its pages out exactly as English: ids, classes, styles, rectangles")
{
    int compared = 0;
    for (int page : kPages) {
        DialogTemplate english;
        REQUIRE(Load(page, kEnglish, &english));
        for (const PageLanguage& language : kPageLanguages) {
            DialogTemplate tpl;
            if (page == IDD_LICENCE || !Load(page, language.id, &tpl))
                continue;  // presence is the case above
            INFO(std::string(language.tag), " template ", page);
            CHECK(tpl.style == english.style);
            CHECK(tpl.exStyle == english.exStyle);
            CHECK(tpl.cx == english.cx);
            CHECK(tpl.cy == english.cy);
            CHECK(tpl.pointSize == english.pointSize);
            CHECK(Narrow(tpl.face) == Narrow(english.face));
            // Chinese and Japanese name their character set: a system of another code page
            // would otherwise draw them with the Western bitmap font, as boxes.
            BYTE charset = language.codePage == 932 ? SHIFTJIS_CHARSET : language.codePage == 936 ? GB2312_CHARSET
                         : language.codePage == 950 ? CHINESEBIG5_CHARSET : DEFAULT_CHARSET;
            CHECK(tpl.charset == charset);
            REQUIRE(tpl.items.size() == english.items.size());
            for (size_t i = 0; i < tpl.items.size(); ++i) {
                const TemplateItem &a = tpl.items[i], &b = english.items[i];
                INFO("control ", i, " id ", (int)(short)a.id);
                CHECK(a.id == b.id);
                CHECK(Narrow(a.className) == Narrow(b.className));
                CHECK(a.style == b.style);
                CHECK(a.exStyle == b.exStyle);
                CHECK((a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy));
                // Empty controls stay empty: the code writes paths and names into them.
                CHECK(a.text.empty() == b.text.empty());
                ++compared;
            }
        }
    }
    CHECK(compared > 13 * 40);
}

TEST_CASE("no two controls a page shows at once overlap, and each lies inside its page")
{
    for (int page : kPages) {
        DialogTemplate tpl;
        REQUIRE(Load(page, kEnglish, &tpl));
        std::vector<RECT> shown;
        for (const TemplateItem& item : tpl.items) {
            bool isButton = item.className == L"#128";
            // A group box frames others, and the picture's placeholder is hidden by the page.
            if (!(item.style & WS_VISIBLE) || (isButton && (item.style & BS_TYPEMASK) == BS_GROUPBOX) ||
                item.id == IDC_PICTURE)
                continue;
            RECT rect = { item.x, item.y, item.x + item.cx, item.y + item.cy };
            INFO("template ", page, " control ", (int)(short)item.id);
            CHECK((rect.left >= 0 && rect.top >= 0 && rect.right <= tpl.cx && rect.bottom <= tpl.cy));
            for (const RECT& other : shown) {
                RECT both;
                CHECK(!IntersectRect(&both, &rect, &other));
            }
            shown.push_back(rect);
        }
        CHECK(shown.size() >= 3);
    }
}

TEST_CASE("each text keeps English's product names, paragraphs and accelerators, within the page code's buffer")
{
    for (int page : kPages) {
        DialogTemplate english;
        REQUIRE(Load(page, kEnglish, &english));
        for (const PageLanguage& language : kPageLanguages) {
            DialogTemplate tpl;
            if (!Load(page, language.id, &tpl) || tpl.items.size() != english.items.size())
                continue;
            INFO(std::string(language.tag), " template ", page);
            CHECK(CountOf(tpl.caption, L"%s") == 0);
            std::map<wchar_t, std::string> taken;
            for (size_t i = 0; i < tpl.items.size(); ++i) {
                const std::wstring &text = tpl.items[i].text, &source = english.items[i].text;
                INFO(Where(language, page, tpl.items[i].id), ": ", Narrow(text));
                // The code fills every "%s"; one where English has none would show as it is.
                int names = CountOf(text, L"%s");
                CHECK((CountOf(source, L"%s") ? names >= 1 : names == 0));
                CHECK(CountOf(text, L"\n\n") == CountOf(source, L"\n\n"));
                wchar_t key = Accelerator(text);
                CHECK((Accelerator(source) != 0) == (key != 0));
                if (key) {
                    INFO("accelerator ", Narrow(std::wstring(1, key)), " also on ", taken[key]);
                    CHECK(taken[key].empty());
                    taken[key] = Narrow(text);
                }
                // The code reads the text as ANSI: every character must exist in the
                // language's code page, and the filled text must fit the code's buffer.
                BOOL lost = FALSE;
                int bytes = WideCharToMultiByte(language.codePage, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, NULL, 0,
                                                NULL, &lost);
                CHECK(bytes > 0);
                CHECK(!lost);
                CHECK(bytes + names * (kLongestName - 2) <= kFillBuffer);
            }
        }
    }
}

TEST_CASE("every text fits its control in every language, with a long product name")
{
    HWND host = MakeHost();
    REQUIRE(host != NULL);
    HMODULE module = GetModuleHandleW(NULL);
    NONCLIENTMETRICSW nonClient = {};
    nonClient.cbSize = sizeof(nonClient);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(nonClient), &nonClient, 0);
    HFONT captionFont = CreateFontIndirectW(&nonClient.lfCaptionFont);
    int measured = 0;
    for (const PageLanguage& language : kPageLanguages) {
        int tightest = 1 << 30;
        std::string tightestAt;
        for (int page : kPages) {
            DialogTemplate tpl;
            if (!Load(page, language.id, &tpl))
                continue;
            INFO(std::string(language.tag), " template ", page);
            HWND dialog = CreateFilledDialog(module, tpl, host, kLongProductName);
            REQUIRE(dialog != NULL);
            RECT frame;
            GetWindowRect(dialog, &frame);
            // The page's title goes into the wizard frame's caption bar, beside its buttons.
            HDC dc = GetDC(host);
            HGDIOBJ old = SelectObject(dc, captionFont);
            RECT caption = { 0, 0, 0, 0 };
            DrawTextW(dc, tpl.caption.c_str(), -1, &caption, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(dc, old);
            ReleaseDC(host, dc);
            CHECK(caption.right <= frame.right - frame.left - 3 * GetSystemMetrics(SM_CXSIZE));

            HWND control = GetWindow(dialog, GW_CHILD);
            for (const TemplateItem& item : tpl.items) {
                REQUIRE(control != NULL);
                HWND current = control;
                control = GetWindow(control, GW_HWNDNEXT);
                wchar_t text[2048];
                if (item.text.empty() || item.textIsOrdinal || GetWindowTextW(current, text, 2048) <= 0)
                    continue;
                Fit fit = Measure(current, item, text);
                std::string where = Where(language, page, item.id);
                INFO(where, ": \"", Narrow(text), "\" needs ", fit.textHeight, " of ", fit.height,
                     " px; word \"", Narrow(fit.word), "\" ", fit.widestWord, ", line ", fit.widestLine, " of ", fit.width, " px");
                CHECK(fit.missingGlyphs == 0);
                CHECK(fit.textHeight > 0);
                CHECK(fit.textHeight <= fit.height);
                CHECK(fit.widestWord <= fit.width);
                CHECK(fit.widestLine <= fit.width);
                if (fit.height - fit.textHeight < tightest) {
                    tightest = fit.height - fit.textHeight;
                    tightestAt = where;
                }
                ++measured;
            }
            DestroyWindow(dialog);
        }
        printf("page texts: %-5s tightest %s, %d px to spare\n", language.tag, tightestAt.c_str(), tightest);
    }
    CHECK(measured > 14 * 30);
    DeleteObject(captionFont);
    DestroyWindow(host);
}
