// The program's start and end, as the sheet and stampa-cli both run them:
// note the working directory, bind Pixmelt and the USB library by name; at the
// end close the link, save the FLASH list when due and unload the libraries.
#pragma once

#include <string>

#include "link/usb/usb_library.h"
#include "pixmelt/pixmelt_binding.h"
#include "transfer/session.h"

namespace stampa {

// The files bound at start-up, by name.
struct RuntimeLibraryFiles {
    std::string pixmelt = kPixmeltLibraryFile;
    std::string usb = kUsbLibraryFile;
};

// Binds libpixmelt.so and its `pixmelt`, then libQzUsbInt.so and its twelve
// entry points; stops at the first failure. True when both are bound.
bool BindRuntimeLibraries(const RuntimeLibraryFiles& files = {});

// Unloads the USB library, then Pixmelt.
void UnbindRuntimeLibraries();

// Chooses the language of the texts (common/language.h) from STAMPA_LANG, the
// working directory's Stampa.ini and the locale. Front ends call it first.
void ChooseLanguageAtStart();

// Start-up: the session's StartDirectory becomes the working directory, PrintDocInfo its
// start value, and the libraries are bound. On a failed binding nothing stays
// bound, "装载USB dll 或 pixmelt dll失败!" goes to the operator as a plain
// message, and the result is false.
bool StartUp(Session& session, const RuntimeLibraryFiles& files = {});

// Whether the program may end now: not while a download is sending, so the
// printer is never cut off in the middle of a command; then the operator is
// told "位图正在下载!".
bool MayShutDown(const Session& session);

// Closes the session's link and saves FlashLogos as the model's stored-logo
// file when a FLASH download happened since the last connection (the end of
// one printer's job in a many-printer command; the libraries stay bound).
void CloseLink(Session& session);

// Shut-down: CloseLink, then the libraries are unloaded. A running download is
// not waited for.
void ShutDown(Session& session);

}  // namespace stampa
