#pragma once
// What the fuzz targets share: a session that asks nobody and starts nothing, in a program
// folder of its own below /tmp, and the input written into a file there.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "app/Session.h"
#include "base/UserInterface.h"
#include "platform/Clock.h"
#include "platform/ProcessLauncher.h"

namespace velmo::fuzz {

class SilentUi final : public UserInterface {
public:
    bool askYesNo(const std::string&, const std::string&, bool yesIsDefault) override { return yesIsDefault; }
    bool askInsertDisk(const InsertDiskPrompt&) override { return false; }
    void showNotice(const std::string&, const std::string&) override {}
    void showError(const std::string&) override {}
    std::optional<std::string> chooseFileToOpen(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> chooseFileToSave(const FileDialog&) override { return std::nullopt; }
    bool answersWithoutPerson() const override { return true; }
};

class NoLauncher final : public platform::ProcessLauncher {
public:
    std::optional<std::string> start(const std::string&, const std::vector<std::string>&, const std::string&) override {
        return "not started";
    }
};

class StillClock final : public platform::Clock {
public:
    int64_t nowMs() override { return now_; }
    void waitMs(int64_t ms) override { now_ += ms > 0 ? ms : 0; }

private:
    int64_t now_ = 0;
};

// A program folder for this fuzzing process, made once and reused by every input.
inline const std::string& appDir() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/velmo-fuzz-XXXXXX";
        if (!mkdtemp(pattern)) abort();
        return std::string(pattern);
    }();
    return dir;
}

inline void writeInput(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) abort();
}

// A session over appDir() whose drive table is empty, so nothing outside that folder is read.
struct FuzzSession {
    SilentUi ui;
    NoLauncher launcher;
    StillClock clock;
    Session session{appDir(), SessionServices{ui, launcher, clock, [](const std::string&) { return platform::DriveTable(); }},
                    std::make_unique<Mt19937Random>(1)};
};

} // namespace velmo::fuzz
