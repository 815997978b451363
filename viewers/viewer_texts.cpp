#include "viewers/viewer_texts.h"

namespace quillon {

// Columns: English, German, Italian, French, Spanish, Russian, Lithuanian. French and
// Spanish repeat the English texts.

const MessageTable MainMenuCaption = {
    "Report", "Bericht", "Stampa", "Report", "Report", "Ведомость", "Žiniaraštis",
};
const MessageTable MainMenuPrint = {
    "Print", "Drucken", "Stampare", "Print", "Print", "Печатат", "Spausdinti",
};
const MessageTable MainMenuPrintTXT = {
    "Print TXT", "Drucken als TXT", "Stampare TXT",   "Print TXT",
    "Print TXT", "Печатат как TXT", "Spausdinti TXT",
};
const MessageTable MainMenuPrinterSetup = {
    "Printer Setup", "Drucker einrichten", "Impostazione Stampante",  "Printer Setup",
    "Printer Setup", "Установка принтера", "Pasirinkti Spausdintuvą",
};
const MessageTable MainMenuShowPageMargins = {
    "Show page margins", "Seitenränder anzeigen",   "Margini visibili", "Show page margins",
    "Show page margins", "Показывать полосы листа", "Rodyti paraštes",
};
const MessageTable MainMenuSetPageMargins = {
    "Set page margins", "Seitenränder einrichten", "Impostazione Margini", "Set page margins",
    "Set page margins", "Установить полосы листа", "Pakeisti paraštes",
};
const MessageTable MainMenuFindPage = {
    "&Skip to Page", "&Gehe zu Seite...", "Cercare Pagina", "&Skip to Page",
    "&Skip to Page", "Найти лист №...",   "Surasti lapą",
};
const MessageTable MainMenuNextPage = {
    "&Next Page", "&Nächste Seite", "Sequente Pagina", "&Next Page",
    "&Next Page", "Следующий лист", "Sekantis lapas",
};
const MessageTable MainMenuFirstPage = {
    "First Page", "Erste Seite", "Prima Pagina", "First Page",
    "First Page", "Первый лист", "Pirmas lapas",
};
// The two paging items beside First and Next (the hints' words for the same buttons).
const MessageTable MainMenuPriorPage = {
    "&Previous Page", "&Vorherige Seite", "Pagina Precedente", "&Previous Page",
    "&Previous Page", "Предыдущий лист",  "Ankstesnis lapas",
};
const MessageTable MainMenuLastPage = {
    "&Last Page", "&Letzte Seite",  "Ultima Pagina",    "&Last Page",
    "&Last Page", "Последний лист", "Paskutinis lapas",
};
const MessageTable MainMenuFindText = {
    "&Find...",
    "&Suchen",
    "Cercare testo",
    "&Find...",
    "&Find...",
    "Искать...",
    "Teksto fragmento paieška",
};
const MessageTable MainMenuFindNext = {
    "Find Next", "Weitersuchen",  "Continuare Ricerca", "Find Next",
    "Find Next", "Искать дальше", "Rasti toliau",
};
const MessageTable MainMenuSelectAll = {
    "Select All", "Alles markieren",    "Selezionare tutti",        "Select All",
    "Select All", "Выбрать весь текст", "Pažymėti visą žiniaraštį",
};
const MessageTable MainMenuCopy = {
    "Copy to Clipboard", "Kopieren",   "Copia",     "Copy to Clipboard",
    "Copy to Clipboard", "Копировать", "Kopijuoti",
};
const MessageTable MainMenuClose = {
    "Close", "Schließen", "Chiudere finestra", "Close", "Close", "Закрыть", "Uždaryti",
};
const MessageTable MainMenuPageNumber = {
    "Page Number", "Seite Nummer",   "Numero pagina", "Page Number",
    "Page Number", "Номер страницы", "Lapo numeris",
};
const MessageTable MainMenuTextToFind = {
    "Text to find", "Zu suchender Text", "Trova", "Text to find", "Text to find",
    "Искать текст", "Ieškomas tekstas",
};
const MessageTable MainMenuTextNotFound = {
    "Search string not found: ",
    "Text nicht gefunden: ",
    "Non e stato trovato",
    "Search string not found: ",
    "Search string not found: ",
    "Текст не найден",
    "Nerasta",
};
const MessageTable MARGIN_TOP = {
    "Top (cm)", "Oben (cm)", "Alto (cm)", "Top (cm)", "Top (cm)", "Верхний (cm)", "Viršuje (cm)",
};
const MessageTable MARGIN_BOTTOM = {
    "Bottom", "Unten", "Basso", "Bottom", "Bottom", "Нижний", "Apačioje",
};
const MessageTable MARGIN_LEFT = {
    "Left", "Links", "Sinistra", "Left", "Left", "Левая сторона", "Kairėje",
};
const MessageTable MARGIN_RIGHT = {
    "Right", "Rechts", "Destra", "Right", "Right", "Правая сторона", "Dešinėje",
};

namespace {

using HintRow = std::array<std::string_view, kViewerBtnCount>;

// One row per language, one column per TViewerBtn.
constexpr std::array<HintRow, kLanguageCount> kViewerBtnHints = {{
    {"Print", "Printer Setup", "Margins", "First page", "Prior page", "Next page", "Last page", "",
     "Send (E-mail)", "Back", "Forward", "Help"},
    {"Drucken", "Druckereinrichtung", "Seitenränder", "Erste Seite", "Voherige", "Nächste",
     "Letzte", "", "Mapi", "Zurück", "Vorwärts", "Hilfe"},
    {"Print", "PrintSetup", "Margins", "First", "Prior", "Next", "Last", "", "Mapi", "Back",
     "Forward", "Help"},
    {"Print", "PrintSetup", "Margins", "First", "Prior", "Next", "Last", "", "Mapi", "Back",
     "Forward", "Help"},
    {"Print", "PrintSetup", "Margins", "First", "Prior", "Next", "Last", "", "Mapi", "Back",
     "Forward", "Help"},
    {"Печатать", "Установить принтер", "Показать Поля документа", "Первый лист", "Предыдущий лист",
     "Следующий лист", "Последний лист", "", "Постать по E-mail", "Назад", "Вперед", "Помощь"},
    {"Spausdinti", "Nustatyti Spausdintuvą", "Paraštės", "Pirmas lapas", "Ankstesnis lapas",
     "Sekantis lapas", "Paskutinis lapas", "", "Siųsti E-mail", "Grįžti", "Tolyn", "Pagalba"},
}};

}  // namespace

std::string_view ViewerBtnHint(TRepLanguage language, TViewerBtn button) {
    const auto row = static_cast<std::size_t>(language) < kViewerBtnHints.size()
                         ? static_cast<std::size_t>(language)
                         : 0;
    const auto column = static_cast<std::size_t>(button);
    return column < kViewerBtnCount ? kViewerBtnHints[row][column] : std::string_view{};
}

}  // namespace quillon
