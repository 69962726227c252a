#pragma once
#include <optional>

#include "app/Session.h"
#include "support/FakeClock.h"
#include "support/RecordingProcessLauncher.h"

namespace velmo::test {

// The machine as a test session sees it: nothing is started, time moves only by waiting, and
// the drives are `drives` when set (else Drives.ini of the program folder). Must outlive the
// session it serves.
struct FakeServices {
    RecordingProcessLauncher launcher;
    FakeClock clock;
    std::optional<platform::DriveTable> drives;

    SessionServices forUser(UserInterface& ui) {
        SessionServices services{ui, launcher, clock, {}};
        services.loadDrives = [this](const std::string& appDir) {
            return drives ? *drives : platform::DriveTable::load(appDir);
        };
        return services;
    }
};

} // namespace velmo::test
