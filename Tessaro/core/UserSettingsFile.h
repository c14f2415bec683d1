// The binary user settings file "TessaroDefaultValues.txt" that carries the
// target record from one program run to the next.
//
// Layout (big-endian): int32 magic 223457; the record's ints, doubles (IEEE 754,
// 8 bytes), bools (1 byte) and strings (uint32 byte count, 0xFFFFFFFF = null,
// then UTF-16 code units) in a fixed order; then an int64 paper count and the
// papers. The writer is the toolkit's data stream; the reader checks every
// count against the bytes that are left, so a damaged file cannot make it
// allocate more than the file holds.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QDataStream;
class SuiteEnvironment;
class TargetSettings;

namespace UserSettingsFile {

constexpr qint32 Magic = 223457;
// Far above any real list of papers; a larger file is not ours.
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

enum eReadStatus {
    eReadOk,      // record read
    eReadNoFile,  // no file: the defaults stay
    eReadForeign, // not a user settings file (wrong magic): ignored, the record stays
    eReadFailed,  // truncated, damaged or unreadable: the record stays
};

QString fileName(); // "TessaroDefaultValues.txt"
// The file in the application data folder.
QString filePath(const SuiteEnvironment &environment);

// Sets the stream's byte order and formats, then writes the record.
void writeRecord(QDataStream &out, const TargetSettings &settings);
// Sets the stream's formats, then reads the whole record or nothing: `settings`
// changes only on eReadOk. The record must be fully available on the device (a
// file or a buffer), since counts are checked against the bytes left on it.
eReadStatus readRecord(QDataStream &in, TargetSettings &settings);

QByteArray toBytes(const TargetSettings &settings);
eReadStatus fromBytes(const QByteArray &bytes, TargetSettings &settings);

// Reads the file of the application data folder into `settings`. A missing file
// or a foreign one is not an error; any other failure appends
// "[Tessaro] Error: Cannot read user settings" to the error log.
eReadStatus restore(TargetSettings &settings, const SuiteEnvironment &environment);
// Writes the file through a save file, so a failed save never leaves half a file;
// a failure appends "[Tessaro] Error: Cannot save user settings" to the error log.
bool save(const TargetSettings &settings, const SuiteEnvironment &environment);

} // namespace UserSettingsFile
