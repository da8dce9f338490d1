// The QVMEDIA.DLL stand-in: its five entry points log their calls and give the scripted
// answers, and a process with its folder on PATH loads it by name as the library will.
#include <doctest/doctest.h>

#include "media.h"
#include "wintest.h"

#include <string>

using namespace qvtest;

typedef int(WINAPI* PlayFunc)(int, int);
typedef int(WINAPI* CallFunc)(void);

QV_CHILD(loadbyname)
{
    HMODULE media = LoadLibraryA("QVMEDIA.DLL");
    if (!media)
        return 100;
    CallFunc stop = (CallFunc)GetProcAddress(media, "Qvmedia_Stop");
    int result = stop ? stop() : 101;
    FreeLibrary(media);
    return result;
}

TEST_CASE("each entry point logs its call and returns the scripted answer, 1 by default")
{
    std::string dir = MakeTempDir("qvmedia");
    std::string log = NewLogFile("qvmedia");
    REQUIRE(StageQvmedia(dir, "Play=7;Pause=0;NextTrack=-2", log));
    HMODULE media = LoadLibraryA((dir + "\\QVMEDIA.DLL").c_str());
    REQUIRE(media != NULL);
    PlayFunc play = (PlayFunc)GetProcAddress(media, "Qvmedia_Play");
    CallFunc pause = (CallFunc)GetProcAddress(media, "Qvmedia_Pause");
    CallFunc next = (CallFunc)GetProcAddress(media, "Qvmedia_NextTrack");
    CallFunc prev = (CallFunc)GetProcAddress(media, "Qvmedia_PrevTrack");
    CallFunc stop = (CallFunc)GetProcAddress(media, "Qvmedia_Stop");
    REQUIRE((play && pause && next && prev && stop));
    CHECK(play(0, 1) == 7);
    CHECK(pause() == 0);
    CHECK(next() == -2);
    CHECK(prev() == 1);
    CHECK(stop() == 1);
    SetEnvironmentVariableA("QVSIM_QVMEDIA", "Stop=5;Play=9");
    CHECK(stop() == 5);
    CHECK(play(0, 0) == 9);
    CHECK(pause() == 0);   // not in the variable: the .ini still answers
    SetEnvironmentVariableA("QVSIM_QVMEDIA", NULL);
    FreeLibrary(media);

    std::vector<std::string> lines = ReadLogLines(log);
    const char* expected[] = { "LOAD", "Qvmedia_Play 0 1 -> 7", "Qvmedia_Pause -> 0", "Qvmedia_NextTrack -> -2",
                               "Qvmedia_PrevTrack -> 1", "Qvmedia_Stop -> 1", "Qvmedia_Stop -> 5",
                               "Qvmedia_Play 0 0 -> 9", "Qvmedia_Pause -> 0", "UNLOAD" };
    REQUIRE(lines.size() == 10);
    for (int i = 0; i < 10; ++i)
        CHECK_MESSAGE(lines[i].find(expected[i]) != std::string::npos, lines[i]);
    RemoveTree(dir);
}

TEST_CASE("a process with the stand-in's folder on PATH loads QVMEDIA.DLL by name")
{
    std::string dir = MakeTempDir("qvmedia");
    std::string log = NewLogFile("qvmedia");
    REQUIRE(StageQvmedia(dir, "Stop=42", log));
    CHECK(RunWithPath(dir, NULL, SelfPath(), "--child loadbyname", 20000) == 42);
    CHECK(RunWithPath(dir, "win98", SelfPath(), "--child loadbyname", 20000) == 42);
    // Without it on the path the library is simply missing.
    CHECK(RunProgram("\"" + SelfPath() + "\" --child loadbyname", 20000) == 100);
    std::vector<std::string> lines = ReadLogLines(log);
    CHECK(lines.size() == 6);
    RemoveTree(dir);
}
