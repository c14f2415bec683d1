// Fuzz target: the binary user settings reader (UserSettingsFile::fromBytes).
//
// Invariants: a record that is not read leaves the caller's record as it was; a record
// that is read is written back and read again to the same bytes.
#include "FuzzSupport.h"
#include "TargetSettings.h"
#include "UserSettingsFile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TargetSettings settings;
    const QByteArray before = UserSettingsFile::toBytes(settings);
    const UserSettingsFile::eReadStatus status = UserSettingsFile::fromBytes(bytes, settings);
    const QByteArray after = UserSettingsFile::toBytes(settings);
    if (status != UserSettingsFile::eReadOk) {
        FUZZ_CHECK(after == before);
        return 0;
    }
    TargetSettings again;
    FUZZ_CHECK(UserSettingsFile::fromBytes(after, again) == UserSettingsFile::eReadOk);
    FUZZ_CHECK(UserSettingsFile::toBytes(again) == after);
    return 0;
}
