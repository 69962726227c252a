#include "app/Session.h"

#include "platform/NativePaths.h"

namespace velmo {

std::string Session::databasePath() const { return platform::storedToNative(AppDir, settings.DBName); }

} // namespace velmo
