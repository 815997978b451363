#pragma once
// Message and caption tables of the report component in its seven languages, and the
// message routine through which the engine shows every message. Texts are UTF-8.
//
//   routine(std::string(Msg(FORMATMsg, language)) + file + "->" + name,
//           TMsgDlgType::mtError, mbOK);

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/core/host_services.h"

namespace quillon {

enum TRepLanguage : std::uint8_t {
    laEnglish,
    laGerman,
    laItalian,
    laFrench,
    laSpanish,
    laRussian,
    laLithuanian,
};
inline constexpr int kLanguageCount = 7;

// One message in every language, indexed by TRepLanguage.
using MessageTable = std::array<std::string_view, kLanguageCount>;

extern const MessageTable FRM_OPENMsg;      // "Format File Error"
extern const MessageTable FRM_NAMEMsg;      // "Format name property not valid"
extern const MessageTable FRM_FILEMsg;      // "Format File Name Error: "
extern const MessageTable FORMATMsg;        // "Format not found: "
extern const MessageTable FIELD_NAMEMsg;    // "Field Name description Error "
extern const MessageTable ABSTRACT_Msg;     // "Error "
extern const MessageTable PRINTER_OPENMsg;  // "Printer Open Error "
extern const MessageTable FILE_OPENMsg;     // "File Open Error "
extern const MessageTable FILE_READMsg;     // "File Read Error "
extern const MessageTable PRINTER_OUTPMsg;  // "Printer error. ABORT "
extern const MessageTable PRINTER_ENDMsg;   // "Printer error at the end of the job "
extern const MessageTable VIEWER_Msg;       // "Viewer not assigned to the tQuillon: "
// The label of the progress window: "Page Number".
extern const MessageTable PAGE_NUMBERCaption;
// Template limits the loader checks (followed by the file, level marker and line).
extern const MessageTable SLOT_COUNTMsg;  // "More than 250 field slots in a level: "
extern const MessageTable SLOT_WIDTHMsg;  // "Field slot longer than 255 characters: "
extern const MessageTable LINE_Msg;       // "line "

// The entry of table for language (English for a value outside the seven).
std::string_view Msg(const MessageTable& table, TRepLanguage language);

// Shows a message and returns the dialog's result (a TModalResult). TQuillon plugs its
// rptMessageDlg in here; an empty routine means DefaultHost().MessageDlg.
using MessageRoutine =
    std::function<int(std::string_view msg, TMsgDlgType type, TMsgDlgButtons buttons)>;

// Calls routine, or the default host when routine is empty.
int ShowMessage(const MessageRoutine& routine, std::string_view msg, TMsgDlgType type,
                TMsgDlgButtons buttons);

}  // namespace quillon
