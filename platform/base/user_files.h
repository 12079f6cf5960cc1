// The user's own files: the folder where programs keep their settings, and replacing a
// small file's text in one step, so that nothing ever finds half of it.
#pragma once

#include <string>

// The folder for the user's settings: $XDG_CONFIG_HOME, by default ~/.config. Empty when
// neither is set, and then *pstrWhy says so.
std::string AfxGetConfigHome(std::string* pstrWhy);

enum class ReplaceResult { kReplaced, kReadOnly, kFailed };

// Puts strText in the file at strPath in one step: a crash leaves the old text or the new.
// Through a symbolic link, the file it names is replaced and the link stays. The file keeps
// its mode; a new one gets the mode that new files get. A file that may not be written is
// left alone (kReadOnly). On kFailed, *pstrWhy says why and the file is as it was. The
// folders on the way are made as needed.
ReplaceResult AfxReplaceFile(const std::string& strPath, const std::string& strText,
                             std::string* pstrWhy);
