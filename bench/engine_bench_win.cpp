// The engine's figures on Windows: ListFolder and ApplyRenames of a large folder, each against
// a bare loop of the Windows calls underneath, alternated round by round. Prints
// "ratio NAME MEDIAN (range LOW-HIGH over N rounds)".
// Usage: zelvora-engine-bench [ENTRIES [ROUNDS]], by default 100,000 entries and 5 rounds. Under
// Wine every new name costs a case-insensitive scan of the whole folder, so there a rename pass
// grows with the square of the entries: 10,000 keeps a run within minutes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "engine/engine.h"
#include "engine/platform/wide_win.h"

namespace {

using engine::platform::Narrow;
using engine::platform::SystemPath;

int Entries = 100000;
int Rounds = 5;

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void PrintRatio(const char* name, const std::vector<double>& measured,
                const std::vector<double>& baseline) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < measured.size(); ++i)
        ratios.push_back(measured[i] / baseline[i]);
    std::sort(ratios.begin(), ratios.end());
    std::printf("ratio %s %.2f (range %.2f-%.2f over %zu rounds)\n", name,
                ratios[ratios.size() / 2], ratios.front(), ratios.back(), ratios.size());
    std::fflush(stdout);
}

// Times both sides `Rounds` times, taking turns; `prepare` runs untimed before each side.
void AlternatePairs(const char* name, const std::function<void()>& prepare,
                    const std::function<void()>& measured, const std::function<void()>& baseline) {
    std::vector<double> a, b;
    for (int round = 0; round < Rounds; ++round) {
        const bool measuredFirst = round % 2 == 0;
        for (int side = 0; side < 2; ++side) {
            prepare();
            if ((side == 0) == measuredFirst)
                a.push_back(Seconds(measured));
            else
                b.push_back(Seconds(baseline));
        }
    }
    PrintRatio(name, a, b);
}

std::string NameOf(int i) {
    static const char* const stems[] = {"照片", "report", "会议记录", "IMG_", "notes"};
    static const char* const extensions[] = {".jpg", ".txt", ".docx", "", ".tar.gz"};
    return stems[i % 5] + std::to_string(i) + extensions[(i / 5) % 5];
}

void MakeFolder(const std::string& folder) {
    ::CreateDirectoryW(SystemPath(folder).c_str(), nullptr);
    for (int i = 0; i < Entries; ++i) {
        const std::wstring path = SystemPath(folder + NameOf(i));
        if (i % 20 == 0) {
            ::CreateDirectoryW(path.c_str(), nullptr);
            continue;
        }
        const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        FILETIME time{static_cast<DWORD>(i) * 10'000'000u, 0x01CC0000u + static_cast<DWORD>(i)};
        ::SetFileTime(file, nullptr, nullptr, &time);
        ::CloseHandle(file);
    }
}

void BareListing(const std::string& folder) {
    WIN32_FIND_DATAW found{};
    std::vector<std::pair<std::string, SYSTEMTIME>> rows;
    const HANDLE search =
        ::FindFirstFileExW((SystemPath(folder) + L"*").c_str(), FindExInfoBasic, &found,
                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    do {
        SYSTEMTIME utc{}, local{};
        ::FileTimeToSystemTime(&found.ftLastWriteTime, &utc);
        ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
        rows.emplace_back(Narrow(found.cFileName), local);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// Empties and removes the bench's folder left by this run or an earlier one.
void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW((SystemPath(folder) + L"*").c_str(), FindExInfoBasic,
                                             &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = SystemPath(folder) + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ::RemoveDirectoryW(path.c_str());
        else
            ::DeleteFileW(path.c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    ::RemoveDirectoryW(SystemPath(folder).c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) Entries = std::max(1, std::atoi(argv[1]));
    if (argc > 2) Rounds = std::max(1, std::atoi(argv[2]));
    char temporary[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temporary);
    const std::string folder = std::string(temporary) + "zelvora-bench\\";
    std::printf("making %d entries in %s ...\n", Entries, folder.c_str());
    RemoveFolder(folder);
    std::fflush(stdout);
    MakeFolder(folder);
    const engine::TFormatSettings settings;
    engine::TFolderListing listing;
    AlternatePairs(
        "list", [] {}, [&] { engine::ListFolder(listing, folder, settings); },
        [&] { BareListing(folder); });

    engine::ListFolder(listing, folder, settings);
    engine::TRenameSettings rename;
    rename.LeadText = "B-";
    rename.Digits = "0";
    rename.TrailText = "";
    engine::TBatchControl control;
    control.JournalFolder = std::string(temporary) + "zelvora-bench-journals";
    std::vector<std::string> targets;
    for (std::size_t i = 0; i < listing.Rows.size(); ++i)
        targets.push_back(engine::ComposeNewName(listing.Rows[i].OldName, listing.Rows[i].TypeText,
                                                 rename, 0, static_cast<std::int32_t>(i + 1)));
    AlternatePairs(
        "rename",
        [&] {
            for (std::size_t i = 0; i < targets.size(); ++i)
                ::MoveFileExW(SystemPath(folder + targets[i]).c_str(),
                              SystemPath(folder + listing.Rows[i].OldName).c_str(), 0);
        },
        [&] {
            engine::TFolderListing batch = listing;
            engine::ApplyRenames(batch, rename, control);
        },
        [&] {
            for (std::size_t i = 0; i < targets.size(); ++i)
                ::MoveFileExW(SystemPath(folder + listing.Rows[i].OldName).c_str(),
                              SystemPath(folder + targets[i]).c_str(), 0);
        });
    // The undo of that batch, against the bare loop back; both start from the renamed folder.
    std::string journal;
    AlternatePairs(
        "undo",
        [&] {
            for (std::size_t i = 0; i < targets.size(); ++i) // back from the rename pairs' end
                ::MoveFileExW(SystemPath(folder + targets[i]).c_str(),
                              SystemPath(folder + listing.Rows[i].OldName).c_str(), 0);
            engine::TFolderListing batch = listing;
            engine::ApplyRenames(batch, rename, control);
            journal = engine::ReadJournals(control.JournalFolder).back().Name;
        },
        [&] { engine::UndoBatch(control.JournalFolder, journal); },
        [&] {
            for (std::size_t i = 0; i < targets.size(); ++i)
                ::MoveFileExW(SystemPath(folder + targets[i]).c_str(),
                              SystemPath(folder + listing.Rows[i].OldName).c_str(), 0);
        });
    RemoveFolder(folder);
    return 0;
}
