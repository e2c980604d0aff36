// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The text of every error code the command interface returns, in words a user can act on.
#include <cstring>
#include <string>
#include <utility>

#include "platform/mci/Mci.h"
#include "platform/mci/MciDeviceName.h"

namespace {

const char* TextFor(MCIERROR error) {
    static const std::pair<MCIERROR, const char*> texts[] = {
        {0, "The command was carried out."},
        {MCIERR_INVALID_DEVICE_ID,
         "The media device is not open: it was closed, or it was never opened."},
        {MCIERR_UNRECOGNIZED_KEYWORD, "The command carries a setting the device does not know."},
        {MCIERR_UNRECOGNIZED_COMMAND, "The media device does not know this command."},
        {MCIERR_HARDWARE, "The sound hardware reported a problem. Check that it works."},
        {MCIERR_INVALID_DEVICE_NAME, "There is no media device of that name."},
        {MCIERR_OUT_OF_MEMORY, "There is not enough memory to play this file."},
        {MCIERR_DEVICE_OPEN, "The device name is already in use."},
        {MCIERR_CANNOT_LOAD_DRIVER,
         "The media framework cannot play this kind of file: a decoder is missing. Install "
         "the GStreamer plug-ins for it."},
        {MCIERR_MISSING_COMMAND_STRING, "No command was given."},
        {MCIERR_PARAM_OVERFLOW, "The answer does not fit into the space given for it."},
        {MCIERR_MISSING_STRING_ARGUMENT, "A text value is missing from the command."},
        {MCIERR_BAD_INTEGER, "A number in the command is missing or not valid."},
        {MCIERR_PARSER_INTERNAL, "The command could not be read."},
        {MCIERR_DRIVER_INTERNAL, "The media device failed inside. Try to open the file again."},
        {MCIERR_MISSING_PARAMETER, "The command is missing a value it needs."},
        {MCIERR_UNSUPPORTED_FUNCTION, "The media device cannot do this with this file."},
        {MCIERR_FILE_NOT_FOUND,
         "The file was not found. Check that the folder and the file name are right."},
        {MCIERR_DEVICE_NOT_READY,
         "The device is not ready. For CD audio, put an audio CD into the drive."},
        {MCIERR_INTERNAL, "The media framework could not be started."},
        {MCIERR_DRIVER, "The media device reported a problem while playing."},
        {MCIERR_CANNOT_USE_ALL, "This command cannot go to all devices at once."},
        {MCIERR_MULTIPLE, "Several devices reported errors."},
        {MCIERR_OUTOFRANGE, "The position is outside the length of the media."},
        {MCIERR_FLAGS_NOT_COMPATIBLE, "The command asks for things that cannot go together."},
        {MCIERR_FILE_NOT_SAVED, "The file was not saved."},
        {MCIERR_DEVICE_TYPE_REQUIRED, "The media device could not be found."},
        {MCIERR_DEVICE_LOCKED, "The media device is being closed. Try again in a moment."},
        {MCIERR_DUPLICATE_ALIAS, "The alias is already in use."},
        {MCIERR_BAD_CONSTANT, "A value in the command is not one the device knows."},
        {MCIERR_MUST_USE_SHAREABLE, "The device is in use; open it as shareable."},
        {MCIERR_MISSING_DEVICE_NAME, "No device name was given."},
        {MCIERR_BAD_TIME_FORMAT, "The media device does not use that time format."},
        {MCIERR_NO_CLOSING_QUOTE, "A closing quotation mark is missing."},
        {MCIERR_DUPLICATE_FLAGS, "A value was given twice."},
        {MCIERR_INVALID_FILE,
         "The file cannot be played: it is damaged, empty, or not in a format the media "
         "device knows."},
        {MCIERR_NULL_PARAMETER_BLOCK, "The command came without its parameter block."},
        {MCIERR_UNNAMED_RESOURCE, "A file without a name cannot be saved."},
        {MCIERR_NEW_REQUIRES_ALIAS, "A new device needs an alias."},
        {MCIERR_NOTIFY_ON_AUTO_OPEN, "Notification cannot be asked for on an automatic open."},
        {MCIERR_NO_ELEMENT_ALLOWED, "This device does not open files."},
        {MCIERR_NONAPPLICABLE_FUNCTION,
         "The command does not apply in the device's present state."},
        {MCIERR_ILLEGAL_FOR_AUTO_OPEN, "This command cannot go to an automatically opened device."},
        {MCIERR_FILENAME_REQUIRED, "No file name was given. Choose a music file to open."},
        {MCIERR_EXTRA_CHARACTERS, "There are characters after the closing quotation mark."},
        {MCIERR_DEVICE_NOT_INSTALLED, "That kind of media device is not available here."},
        {MCIERR_GET_CD, "The file or its folder could not be reached."},
        {MCIERR_SET_CD, "The file's folder could not be reached."},
        {MCIERR_SET_DRIVE, "The file's drive could not be reached."},
        {MCIERR_DEVICE_LENGTH, "The device name is too long."},
        {MCIERR_DEVICE_ORD_LENGTH, "The device name is too long."},
        {MCIERR_NO_INTEGER, "The command needs a number."},
        {MCIERR_WAVE_OUTPUTSINUSE, "The sound output is in use by another program."},
        {MCIERR_WAVE_OUTPUTSUNSUITABLE, "The sound output cannot play this file's format."},
        {MCIERR_NO_WINDOW, "There is no window to show the media in."},
        {MCIERR_CREATEWINDOW, "The window for the media could not be made."},
        {MCIERR_FILE_READ, "The file could not be read. Check that you may read it."},
        {MCIERR_FILE_WRITE, "The file could not be written."},
    };
    for (const auto& [code, text] : texts)
        if (code == error) return text;
    if (error == MCIERR_EXTENSION_NOT_FOUND) {
        // Names every kind the devices open, from the list that decides it.
        static const std::string extensionText =
            "No media device plays files with this extension. Music files end in " +
            MusicFileExtensionsText() + ".";
        return extensionText.c_str();
    }
    return nullptr;
}

}  // namespace

bool mciGetErrorStringA(MCIERROR error, char* buffer, unsigned length) {
    if (!buffer || length == 0) return false;
    buffer[0] = '\0';
    const char* text = TextFor(error);
    if (!text) return false;
    std::strncpy(buffer, text, length - 1);
    buffer[length - 1] = '\0';
    return true;
}
