#ifndef SETTINGSFILE_H
#define SETTINGSFILE_H

class QSettings;

// The window's settings file: the operator's choices are written out as soon
// as they are made, and a file that cannot be written is not left unnoticed.
namespace SettingsFile {

// Writes out whatever is pending and looks whether the file can be written at
// all, even when nothing was pending. When it cannot, logs that at critical
// level and warns the operator, naming the file and the system's reason; the
// caller goes on either way. True when the file can be written.
bool writeBack(QSettings &settings);

} // namespace SettingsFile

#endif // SETTINGSFILE_H
