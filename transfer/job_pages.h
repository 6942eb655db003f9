// What the download and print jobs read from their page and what they drive.
// The Qt pages implement these by posting to the user-interface thread;
// stampa-cli and the tests implement them directly.
#pragma once

#include <string>
#include <vector>

#include "transfer/memory.h"

namespace stampa {

// The download page. The Set... calls come from the download worker thread.
class IDownloadPage {
  public:
    virtual ~IDownloadPage() = default;
    virtual stampa::Memory Memory() const = 0;
    // NV graphics: delete all of them first and define every logo, as before
    // downloads touched only what changed.
    virtual bool ReplaceAllNv() const { return false; }
    virtual void SetDownloadEnabled(bool enabled) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetProgressRange(int low, int high) = 0;
    virtual void SetProgressPosition(int position) = 0;
    // The bytes of the whole download the link has taken, of `total`, as
    // they go; `total` itself once the printer has them all.
    virtual void SetBytesSent(long long /*sent*/, long long /*total*/) {}
};

enum PrintRange : int { kPrintPart = 0, kPrintAll = 1 };

// The print page, read and driven on the user-interface thread.
class IPrintPage {
  public:
    virtual ~IPrintPage() = default;
    virtual int Range() const = 0;  // kPrintPart or kPrintAll
    virtual stampa::Memory Memory() const = 0;
    virtual int ScalingMode() const = 0;
    virtual bool PrintLabel() const = 0;
    virtual std::vector<int> SelectedRows() const = 0;  // in ascending order
    virtual void SetPrintEnabled(bool enabled) = 0;
};

}  // namespace stampa
