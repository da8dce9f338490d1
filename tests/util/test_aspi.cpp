// CD-ROM access through QVUtil as the daemon uses it: with an ASPI library installed
// beside the program (the WNASPI32.DLL stand-in, scripted per case, logging each request
// block), with a broken one, and with none (the library's emulation on Wine's drives).
// Each binding runs in its own copy of this program, so what is loaded is decided per process.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "copyrun.h"
#include "wintest.h"

#include <string>
#include <vector>

using namespace qvtest;

namespace {

std::string SimDll(const char* variant)
{
    return DirOf(SelfPath()) + "\\sim\\" + variant + "WNASPI32.DLL";
}

DWORD RunBinding(const char* name, const char* dll, const char* loadOrder, const char* suite)
{
    std::string dir = MakeTempDir("aspi");
    if (dll && !CopyFileA(dll, (dir + "\\WNASPI32.DLL").c_str(), FALSE))
        return kNoExit;
    CopyRun run = { dir, name, NULL, "wnaspi32", loadOrder };
    DWORD code = RunCopy(run, std::string("--no-skip --test-suite=") + suite, 180000);
    RemoveTree(dir);
    return code;
}

// One scripted bus for one InitAspi .. DestroyAspi session of the stand-in.
struct Bus {
    std::string ini = DirOf(SelfPath()) + "\\WNASPI32.ini";
    std::string log = DirOf(SelfPath()) + "\\WNASPI32.log";

    explicit Bus(const std::string& script)
    {
        WriteFileText(ini, script);
        DeleteFileA(log.c_str());
    }
    ~Bus()
    {
        DestroyAspi();
        // A request completed late by the stand-in's thread holds the DLL a moment longer.
        for (int i = 0; i < 100 && GetModuleHandleA("WNASPI32.DLL"); ++i)
            Sleep(10);
    }
    std::vector<std::string> Lines(const char* prefix = "") const
    {
        std::vector<std::string> lines;
        HANDLE file = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                  0, NULL);
        if (file == INVALID_HANDLE_VALUE)
            return lines;
        std::string text;
        char chunk[4096];
        DWORD got;
        while (ReadFile(file, chunk, sizeof(chunk), &got, NULL) && got)
            text.append(chunk, got);
        CloseHandle(file);
        size_t start = 0;
        for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
            std::string line = text.substr(start, end - start);
            if (line.compare(0, strlen(prefix), prefix) == 0)
                lines.push_back(line);
        }
        return lines;
    }
};

} // namespace

TEST_CASE("an installed ASPI library beside the program serves every request")
{
    CHECK(RunBinding("aspi-library.exe", SimDll("").c_str(), "native", "installed_library") == 0);
}

TEST_CASE("an ASPI library without SendASPI32Command is refused and unloaded")
{
    CHECK(RunBinding("aspi-partial.exe", SimDll("partial\\").c_str(), "native", "partial_library") == 0);
}

TEST_CASE("without an ASPI library the emulation is used")
{
    CHECK(RunBinding("aspi-none.exe", NULL, "", "no_library") == 0);
}

TEST_SUITE("installed_library" * doctest::skip())
{
    TEST_CASE("nothing is sent before InitAspi")
    {
        Bus bus("[bus]\r\ncdrom=0,0,0\r\n[subq]\r\nstatus=17\r\n");
        CHECK(OnIsCdromPlaying(1) == 0);
        CHECK(bus.Lines().empty());
    }

    TEST_CASE("the device search walks adapters, targets and LUNs to the first CD-ROM")
    {
        Bus bus("[bus]\r\nadapters=2\r\ntargets=2\r\ncdrom=1,1,3\r\ndisk=0,0,0\r\n[subq]\r\nstatus=17\r\n");
        CHECK(InitAspi() == 1);
        std::vector<std::string> inquiries = bus.Lines("inquiry");
        REQUIRE(inquiries.size() == 2);
        CHECK(inquiries[1] == "inquiry ha=1 -> 01");
        std::vector<std::string> types = bus.Lines("devtype");
        CHECK(types.size() == 8 + 8 + 8 + 4);
        CHECK(types.front() == "devtype ha=0 target=0 lun=0 -> 01 type=00");
        CHECK(types.back() == "devtype ha=1 target=1 lun=3 -> 01 type=05");

        // Play in progress is believed at once; the LUN rides in bits 5-7 of byte 1.
        CHECK(OnIsCdromPlaying(1) == 1);
        std::vector<std::string> exec = bus.Lines("exec");
        REQUIRE(exec.size() == 1);
        CHECK(exec[0] ==
              "exec ha=1 target=1 lun=3 flags=48 buflen=16 senselen=14 post=1 cdb=42 60 40 01 00 00 00 00 10 00 -> 01");
    }

    TEST_CASE("an adapter reporting no target count is searched across 8 targets, else only its own count")
    {
        {
            Bus bus("[bus]\r\ntargets=0\r\ncdrom=0,7,7\r\n");
            CHECK(InitAspi() == 1);
            CHECK(bus.Lines("devtype").size() == 64);
        }
        {
            Bus bus("[bus]\r\ntargets=4\r\ncdrom=0,5,0\r\n[subq]\r\nstatus=17\r\n");
            CHECK(InitAspi() == 0);
            CHECK(bus.Lines("devtype").size() == 32);
            CHECK(OnIsCdromPlaying(1) == 0);
            CHECK(bus.Lines("exec").empty());
        }
    }

    TEST_CASE("the support status decides whether adapters are searched")
    {
        {
            Bus bus("[bus]\r\nsupport=4\r\ncdrom=0,0,0\r\n");
            CHECK(InitAspi() == 0);
            CHECK(bus.Lines("inquiry").empty());
        }
        {
            Bus bus("[bus]\r\nadapters=0\r\ncdrom=0,0,0\r\n");
            CHECK(InitAspi() == 0);
            CHECK(bus.Lines("inquiry").empty());
        }
        {
            // "No adapters" with a count is taken at its count, as published managers report it.
            Bus bus("[bus]\r\nsupport=232\r\ncdrom=0,0,0\r\n");
            CHECK(InitAspi() == 1);
        }
    }

    TEST_CASE("an audio CD counts as playing when its address moves by more than 2 sectors")
    {
        {
            Bus bus("[bus]\r\ncdrom=0,0,0\r\n[subq]\r\nstatus=18\r\naddress=1000\r\nstep=3\r\n");
            REQUIRE(InitAspi() == 1);
            CHECK(OnIsCdromPlaying(1) == 1);
            CHECK(bus.Lines("exec").size() == 2);
        }
        {
            Bus bus("[bus]\r\ncdrom=0,0,0\r\n[subq]\r\nstatus=18\r\naddress=1000\r\nstep=2\r\n");
            REQUIRE(InitAspi() == 1);
            CHECK(OnIsCdromPlaying(1) == 0);
        }
        {
            Bus bus("[bus]\r\ncdrom=0,0,0\r\n[subq]\r\nstatus=19\r\naddress=4294967290\r\nstep=0\r\n");
            REQUIRE(InitAspi() == 1);
            CHECK(OnIsCdromPlaying(1) == 0);
        }
    }

    TEST_CASE("a failed sub-channel read counts as not playing")
    {
        {
            Bus bus("[bus]\r\ncdrom=0,0,0\r\n[subq]\r\nstatus=17\r\nfailfrom=1\r\n");
            REQUIRE(InitAspi() == 1);
            CHECK(OnIsCdromPlaying(1) == 0);
            CHECK(bus.Lines("exec").size() == 1);
        }
        {
            Bus bus("[bus]\r\ncdrom=0,0,0\r\n[subq]\r\nstatus=18\r\nstep=50\r\nfailfrom=2\r\n");
            REQUIRE(InitAspi() == 1);
            CHECK(OnIsCdromPlaying(1) == 0);
            CHECK(bus.Lines("exec").size() == 2);
        }
    }

    TEST_CASE("other discs count as playing when the mechanism position moves by more than 2")
    {
        {
            Bus bus("[bus]\r\ncdrom=0,2,1\r\n[mech]\r\nlba=5000\r\nstep=3\r\n");
            REQUIRE(InitAspi() == 1);
            CHECK(OnIsCdromPlaying(2) == 1);
            std::vector<std::string> exec = bus.Lines("exec");
            REQUIRE(exec.size() == 2);
            CHECK(exec[0] ==
                  "exec ha=0 target=2 lun=1 flags=48 buflen=8 senselen=14 post=1 cdb=bd 20 00 00 00 00 00 00 00 08 00 00 -> 01");
        }
        {
            Bus bus("[bus]\r\ncdrom=0,0,0\r\n[mech]\r\nlba=5000\r\nstep=2\r\n");
            REQUIRE(InitAspi() == 1);
            CHECK(OnIsCdromPlaying(4) == 0);
        }
        {
            // A failed repeat reads as position 0, which never counts as moving.
            Bus bus("[bus]\r\ncdrom=0,0,0\r\n[mech]\r\nlba=5000\r\nstep=100\r\nfailfrom=2\r\n");
            REQUIRE(InitAspi() == 1);
            CHECK(OnIsCdromPlaying(2) == 0);
            CHECK(bus.Lines("exec").size() == 2);
        }
    }

    TEST_CASE("a request the library leaves pending is waited for through its event")
    {
        Bus bus("[bus]\r\ncdrom=0,0,0\r\npending=1\r\n[subq]\r\nstatus=18\r\naddress=10\r\nstep=9\r\n");
        REQUIRE(InitAspi() == 1);
        CHECK(OnIsCdromPlaying(1) == 1);
        std::vector<std::string> exec = bus.Lines("exec");
        REQUIRE(exec.size() == 2);
        CHECK(exec[1].substr(exec[1].size() - 5) == "-> 00");
        CHECK(bus.Lines("abort").empty());
    }

    TEST_CASE("a request still pending after the 60-second time-out is aborted and counts as not playing")
    {
        Bus bus("[bus]\r\ncdrom=0,3,0\r\npending=2\r\n[subq]\r\nstatus=17\r\n");
        REQUIRE(InitAspi() == 1);
        CHECK(OnIsCdromPlaying(1) == 0);
        CHECK(bus.Lines("exec").size() == 1);
        std::vector<std::string> aborts = bus.Lines("abort");
        REQUIRE(aborts.size() == 1);
        CHECK(aborts[0] == "abort ha=0 found=1");
    }

    TEST_CASE("DestroyAspi unloads the library and unbinds it")
    {
        Bus bus("[bus]\r\ncdrom=0,0,0\r\n[subq]\r\nstatus=17\r\n");
        REQUIRE(InitAspi() == 1);
        // A second InitAspi keeps the one library reference.
        CHECK(InitAspi() == 1);
        CHECK(DestroyAspi() != 0);
        CHECK(GetModuleHandleA("WNASPI32.DLL") == NULL);
        CHECK(OnIsCdromPlaying(1) == 0);
        CHECK(DestroyAspi() == 0);
    }
}

TEST_SUITE("partial_library" * doctest::skip())
{
    TEST_CASE("a library missing an entry point is freed and nothing is bound")
    {
        CHECK(InitAspi() == 0);
        CHECK(GetModuleHandleA("WNASPI32.DLL") == NULL);
        CHECK(OnIsCdromPlaying(1) == 0);
        CHECK(DestroyAspi() == 0);
    }
}

TEST_SUITE("no_library" * doctest::skip())
{
    TEST_CASE("the emulation takes over and is released by DestroyAspi")
    {
        std::string disc = MakeTempDir("aspidisc");
        WriteFileText(disc + "\\.windows-label", "AUDIO");
        REQUIRE(MapDrive('R', disc));
        int found = InitAspi();
        CHECK(GetModuleHandleA("WNASPI32.DLL") == NULL);
        if (RunningOnWine()) {
            // Wine answers no SCSI pass-through on a folder mapped as a CD-ROM drive, so no
            // drive joins the table; on Windows a real drive would be found here.
            CHECK(found == 0);
            CHECK(OnIsCdromPlaying(1) == 0);
        }
        // Initialized once: a second call changes nothing and reports nothing found.
        CHECK(InitAspi() == 0);
        CHECK(DestroyAspi() == -1);
        CHECK(DestroyAspi() == 0);
        UnmapDrive('R');
        RemoveTree(disc);
    }
}
