// Helpers for tests of the media functions: the CD audio MCI stand-in with its simulated
// discs, the player stand-ins and the QVMEDIA.DLL stand-in, and reading their logs.
#ifndef QV_MEDIA_H
#define QV_MEDIA_H

#include <windows.h>

#include <string>
#include <vector>

namespace qvtest {


// Lines of a stand-in's log (empty when the file does not exist).
std::vector<std::string> ReadLogLines(const std::string& path);
// A fresh, empty log file under the temp folder; returns its path.
std::string NewLogFile(const char* tag);
// Waits until the log has a line containing `text`; true if it came in time.
bool WaitForLogLine(const std::string& path, const std::string& text, DWORD timeoutMs);

// CD audio. Installing copies the MCI driver into the system folder and registers it as
// "cdaudio" where Wine 8's winmm looks (HKLM\...\Windows NT\CurrentVersion\MCI), so
// mciSendString commands of this process and of processes started later reach it.
// Every command it receives goes to the log named by QVSIM_CDAUDIO_LOG.
bool InstallCdAudio();
void UninstallCdAudio();
// Sets QVSIM_CDAUDIO_LOG of this process (inherited by children) to a fresh log.
std::string UseCdAudioLog(const char* tag);
// Writes `description` (see sim/cdaudio/discfile.h) into `folder`, forgets the drive's
// play state (a disc just inserted) and maps the folder as CD-ROM drive `letter`.
// An empty `description` writes no file: an empty drive or a data disc.
bool InsertDisc(char letter, const std::string& folder, const std::string& description);
void ForgetDiscState(char letter);
// "tracks N" and N audio tracks of the given lengths ("4:10", "3:05:20").
std::string AudioDisc(const std::vector<std::string>& lengths);

// Players. StagePlayer copies the player stand-in to dir\exeName with an .ini naming
// its role, delay (ms before its window appears), log and child window count.
std::string StagePlayer(const std::string& dir, const char* exeName, const char* role, DWORD delayMs,
                        const std::string& log, int children = 0);
struct Player {
    HANDLE process;
    DWORD pid;
};
bool StartPlayer(const std::string& exe, const std::string& args, Player* player);
// Closes the player's windows and waits for it to end (a GUI process takes Wine about
// 2 s to tear down), or with `gently` false ends it at once; releases the handle.
void StopPlayer(Player* player, bool gently = true);
// Writes the registry values the media functions find `role`'s program by
// (App Paths, Player.Path, PATH, InstallDir, the Mediamatics keys and IFO command).
bool RegisterPlayer(const char* role, const std::string& exe);
void UnregisterPlayer(const char* role);

// QVMEDIA.DLL: copies the stand-in into `dir` with a QVMEDIA.ini giving its results
// ("Play=3;Stop=0") and log. A product loads it when `dir` is on its DLL search path,
// as with RunWithPath.
bool StageQvmedia(const std::string& dir, const std::string& results, const std::string& log);
// RunAsMode with `dir` put first on PATH for the child.
DWORD RunWithPath(const std::string& dir, const char* mode, const std::string& exe, const std::string& args,
                  DWORD timeoutMs);

} // namespace qvtest

#endif
