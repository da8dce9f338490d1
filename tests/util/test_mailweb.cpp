// Mail and web keys against mail clients registered the way real ones register, with the
// window stand-in as each client's program: which program starts with which arguments,
// and how the one remembered mail program is brought back or sent away.
#include <doctest/doctest.h>

#include "QVUtil.h"
#include "procs.h"
#include "wintest.h"

#include <string.h>

#include <set>
#include <string>

using namespace qvtest;

namespace {

const char kClients[] = "Software\\Clients\\Mail";

struct MailWorld {
    std::string mailDir, messengerDir, mailExe, messengerExe;

    MailWorld()
    {
        char programFiles[MAX_PATH];
        DWORD n = GetEnvironmentVariableA("ProgramFiles", programFiles, sizeof(programFiles));
        REQUIRE((n > 0 && n < sizeof(programFiles)));
        mailDir = std::string(programFiles) + "\\Sim Mail";
        messengerDir = std::string(programFiles) + "\\Sim Messenger";
        CreateDirectoryA(mailDir.c_str(), NULL);
        CreateDirectoryA(messengerDir.c_str(), NULL);
        mailExe = mailDir + "\\sim mail.exe";
        messengerExe = messengerDir + "\\messenger.exe";
        REQUIRE(CopyFileA(SimProgram("testapp.exe").c_str(), mailExe.c_str(), FALSE));
        REQUIRE(CopyFileA(SimProgram("testapp.exe").c_str(), messengerExe.c_str(), FALSE));

        DeleteTree(HKEY_LOCAL_MACHINE, kClients);
        REQUIRE(WriteString(HKEY_LOCAL_MACHINE, kClients, NULL, "Sim Mail"));
        std::string sim = std::string(kClients) + "\\Sim Mail";
        REQUIRE(WriteString(HKEY_LOCAL_MACHINE, sim.c_str(), "DLLPath", "%ProgramFiles%\\Sim Mail\\simapi.dll", REG_EXPAND_SZ));
        REQUIRE(WriteString(HKEY_LOCAL_MACHINE, (sim + "\\Shell\\Open\\Command").c_str(), NULL,
                            "\"%ProgramFiles%\\Sim Mail\\sim mail.exe\" /mail window title=Inbox", REG_EXPAND_SZ));
        std::string netscape = std::string(kClients) + "\\Netscape Messenger";
        REQUIRE(WriteString(HKEY_LOCAL_MACHINE, (netscape + "\\Protocols\\mailto\\shell\\open\\command").c_str(), NULL,
                            ("\"" + messengerExe + "\" -compose \"%1\"").c_str()));
        std::string broken = std::string(kClients) + "\\Broken Client";
        REQUIRE(WriteString(HKEY_LOCAL_MACHINE, (broken + "\\Protocols\\mailto\\shell\\open\\command").c_str(), NULL,
                            ("\"" + messengerExe + "\" -compose \"%1\"").c_str()));
        std::string missing = std::string(kClients) + "\\Missing Program";
        REQUIRE(WriteString(HKEY_LOCAL_MACHINE, (missing + "\\Shell\\Open\\Command").c_str(), NULL,
                            ("\"" + mailDir + "\\gone.exe\" /mail").c_str()));
    }
    ~MailWorld()
    {
        for (const char* exe : { "sim mail.exe", "messenger.exe", "testapp.exe" }) {
            for (DWORD id : ChildProcesses(GetCurrentProcessId(), exe))
                EndProcess(id);
        }
        DeleteTree(HKEY_LOCAL_MACHINE, kClients);
        RemoveTree(mailDir);
        RemoveTree(messengerDir);
        SetEnvironmentVariableA("QV_SIM_LOG", NULL);
    }
};

bool InFront(DWORD processId)
{
    HWND front = GetForegroundWindow();
    return front && WindowProcess(front) == processId;
}

DWORD WaitForChild(const char* exeName)
{
    for (int i = 0; i < 100; ++i) {
        std::vector<DWORD> children = ChildProcesses(GetCurrentProcessId(), exeName);
        if (!children.empty())
            return children[0];
        PumpFor(20);
    }
    return 0;
}

} // namespace

TEST_CASE("mail clients are listed, the default one named, its library path expanded")
{
    MailWorld world;
    std::set<std::string> names;
    char name[64];
    int index = 0;
    for (; index < 20 && EnumMailClient(index, name, sizeof(name)); ++index)
        names.insert(name);
    CHECK(index == 4);
    CHECK(names == std::set<std::string>{ "Broken Client", "Missing Program", "Netscape Messenger", "Sim Mail" });
    memset(name, '#', sizeof(name));
    CHECK(EnumMailClient(4, name, sizeof(name)) == 0);
    CHECK(name[0] == '\0');
    CHECK(EnumMailClient(-1, name, sizeof(name)) == 0);

    // "Sim Mail" is listed in some position; a buffer one byte short of it is refused whole.
    int simIndex = -1;
    for (int i = 0; i < 4; ++i) {
        if (EnumMailClient(i, name, sizeof(name)) && strcmp(name, "Sim Mail") == 0)
            simIndex = i;
    }
    REQUIRE(simIndex >= 0);
    memset(name, '#', sizeof(name));
    CHECK(EnumMailClient(simIndex, name, 9) == 1);
    CHECK(std::string(name) == "Sim Mail");
    CHECK(EnumMailClient(simIndex, name, 8) == 0);
    CHECK(name[0] == '\0');

    char text[300];
    CHECK(GetDefaultMailClient(text, 9) == 1);
    CHECK(std::string(text) == "Sim Mail");
    CHECK(GetDefaultMailClient(text, 8) == 0);
    CHECK(GetDefaultMailClient(NULL, 260) == 0);
    CHECK(GetDefaultMailClientDllPath(text, sizeof(text)) == 1);
    CHECK(std::string(text) == world.mailDir + "\\simapi.dll");

    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, kClients, NULL, "Netscape Messenger"));
    memset(text, '#', sizeof(text));
    CHECK(GetDefaultMailClientDllPath(text, sizeof(text)) == 0);
    CHECK(text[0] == '\0');
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, kClients, NULL, ""));
    CHECK(GetDefaultMailClientDllPath(text, sizeof(text)) == 0);
}

TEST_CASE("mail key: starts the registered program, then sends it away and brings it back")
{
    MailWorld world;
    std::string log = NewLogPath("mail");
    SetEnvironmentVariableA("QV_SIM_LOG", log.c_str());

    CHECK(LaunchDefaultMailProgram() == 1);
    DWORD mail = LoggedProcessId(log);
    REQUIRE(mail);
    std::string text = ReadTextFile(log);
    CHECK(text.find("exe=" + world.mailExe + "\r\n") != std::string::npos);
    CHECK(text.find("arg 1=/mail\r\narg 2=window\r\narg 3=title=Inbox\r\n") != std::string::npos);
    CHECK(InFront(mail));

    HWND inbox = FindWindowA("QvTestApp", "Inbox");
    REQUIRE(inbox);
    CHECK(LaunchDefaultMailProgram() == 1);
    PumpFor(50);
    CHECK(IsIconic(inbox));
    CHECK(LaunchDefaultMailProgram() == 1);
    PumpFor(50);
    CHECK_FALSE(IsIconic(inbox));
    CHECK(InFront(mail));

    SUBCASE("the remembered program is shared by every client")
    {
        std::string other = NewLogPath("mail");
        SetEnvironmentVariableA("QV_SIM_LOG", other.c_str());
        CHECK(LaunchMailClient("Netscape Messenger") == 1);
        PumpFor(50);
        CHECK(IsIconic(inbox));  // Sim Mail was in front, so the key sent it away
        CHECK(ReadTextFile(other).empty());
        CHECK(ChildProcesses(GetCurrentProcessId(), "messenger.exe").empty());
    }
    SUBCASE("once the program is gone the key starts it again")
    {
        EndProcess(mail);
        std::string again = NewLogPath("mail");
        SetEnvironmentVariableA("QV_SIM_LOG", again.c_str());
        CHECK(LaunchMailClient("Sim Mail") == 1);
        DWORD second = LoggedProcessId(again);
        CHECK(second != 0);
        CHECK(second != mail);
        CHECK(InFront(second));
    }
}

TEST_CASE("Netscape Messenger starts from its mailto command with -mail only")
{
    MailWorld world;
    std::string log = NewLogPath("netscape");
    SetEnvironmentVariableA("QV_SIM_LOG", log.c_str());
    // The remembered program of an earlier case may still be listed; it is gone now.
    CHECK(LaunchMailClient("Netscape Messenger") == 1);
    REQUIRE(WaitForText(log, "ready", 3000));
    std::string text = ReadTextFile(log);
    CHECK(text.find("exe=" + world.messengerExe + "\r\n") != std::string::npos);
    CHECK(text.find("arg 1=-mail\r\n") != std::string::npos);
    CHECK(text.find("arg 2=") == std::string::npos);
}

TEST_CASE("mail key without a usable command starts nothing")
{
    MailWorld world;
    std::string log = NewLogPath("nomail");
    SetEnvironmentVariableA("QV_SIM_LOG", log.c_str());
    CHECK(LaunchMailClient("Broken Client") == 0);
    CHECK(LaunchMailClient("Missing Program") == 0);
    CHECK(LaunchMailClient("No Such Client") == 0);
    CHECK(LaunchMailClient("") == 0);
    CHECK(LaunchMailClient(NULL) == 0);
    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, kClients, NULL, ""));
    CHECK(LaunchDefaultMailProgram() == 0);
    DeleteTree(HKEY_LOCAL_MACHINE, kClients);
    CHECK(LaunchDefaultMailProgram() == 0);
    PumpFor(100);
    CHECK(ChildProcesses(GetCurrentProcessId(), "sim mail.exe").empty());
    CHECK(ReadTextFile(log).empty());
}

TEST_CASE("web home page: the user's, else the machine's, opened with its registered program")
{
    const char* main = "Software\\Microsoft\\Internet Explorer\\Main";
    DeleteTree(HKEY_CURRENT_USER, main);
    DeleteTree(HKEY_LOCAL_MACHINE, main);
    char page[300];
    memset(page, '#', sizeof(page));
    CHECK(GetWebHomePage(page, sizeof(page)) == 0);
    CHECK(page[0] == '\0');
    CHECK(GetWebHomePage(NULL, 260) == 0);

    REQUIRE(WriteString(HKEY_LOCAL_MACHINE, main, "Start Page", "qvsim:machine"));
    CHECK(GetWebHomePage(page, sizeof(page)) == 1);
    CHECK(std::string(page) == "qvsim:machine");
    REQUIRE(WriteString(HKEY_CURRENT_USER, main, "Start Page", "qvsim:user"));
    CHECK(GetWebHomePage(page, 11) == 1);
    CHECK(std::string(page) == "qvsim:user");
    CHECK(GetWebHomePage(page, 10) == 0);

    // A private address scheme whose registered program is the stand-in (machine-wide:
    // Wine's shell did not find it under HKCU\Software\Classes).
    REQUIRE(WriteString(HKEY_CLASSES_ROOT, "qvsim", "URL Protocol", ""));
    REQUIRE(WriteString(HKEY_CLASSES_ROOT, "qvsim\\shell\\open\\command", NULL,
                        ("\"" + SimProgram("testapp.exe") + "\" exit=2000 \"%1\"").c_str()));
    std::string log = NewLogPath("www");
    SetEnvironmentVariableA("QV_SIM_LOG", log.c_str());
    CHECK(OpenWWWHomePage() == 1);
    CHECK(WaitForText(log, "arg 2=qvsim:user\r\n", 5000));
    DWORD browser = WaitForChild("testapp.exe");
    if (browser)
        EndProcess(browser);

    DeleteTree(HKEY_CURRENT_USER, main);
    DeleteTree(HKEY_LOCAL_MACHINE, main);
    std::string none = NewLogPath("www");
    SetEnvironmentVariableA("QV_SIM_LOG", none.c_str());
    CHECK(OpenWWWHomePage() == 0);  // an empty address: the shell refuses it
    PumpFor(100);
    CHECK(ReadTextFile(none).empty());
    DeleteTree(HKEY_CLASSES_ROOT, "qvsim");
    SetEnvironmentVariableA("QV_SIM_LOG", NULL);
}
