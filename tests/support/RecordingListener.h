#pragma once
#include "musicdb/MusicDatabase.h"

namespace velmo::test {

// Counts the database's notifications.
class CountingListener : public DatabaseListener {
public:
    void statisticsChanged() override { ++statistics; }
    void databaseCleared() override { ++cleared; }
    int statistics = 0;
    int cleared = 0;
};

} // namespace velmo::test
