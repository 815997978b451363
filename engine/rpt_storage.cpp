#include "engine/rpt_storage.h"

#include <exception>

namespace quillon {

void SendReportFile(TrptStorage& Storage, const std::string& FileName) {
    Storage.SetAttachments({FileName});
    try {
        Storage.Logon();
        Storage.Send();
    } catch (...) {
        try {
            Storage.Logoff();
        } catch (const std::exception&) {
            // The failure of Logon or Send is the one to report.
        }
        throw;
    }
    Storage.Logoff();
}

}  // namespace quillon
