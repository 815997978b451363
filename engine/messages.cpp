#include "engine/messages.h"

namespace quillon {

// Columns: English, German, Italian, French, Spanish, Russian, Lithuanian. The French and
// Spanish entries repeat the English texts.

const MessageTable FRM_OPENMsg = {
    "Format File Error",    "Fehler in der Formatdatei", "Errore nel file di formato",
    "Format File Error",    "Format File Error",         "Ошибка файла формата",
    "Formato failo klaida",
};

const MessageTable FRM_NAMEMsg = {
    "Format name property not valid",    "Eigenschaft Formatname ungültig",
    "Proprietà nome formato non valida", "Format name property not valid",
    "Format name property not valid",    "Недопустимое имя формата",
    "Netinkamas formato pavadinimas",
};

const MessageTable FRM_FILEMsg = {
    "Format File Name Error: ",          "Fehler im Namen der Formatdatei: ",
    "Nome del file di formato errato: ", "Format File Name Error: ",
    "Format File Name Error: ",          "Ошибка имени файла формата: ",
    "Formato failo vardo klaida: ",
};

const MessageTable FORMATMsg = {
    "Format not found: ", "Format nicht gefunden: ", "Formato non trovato: ", "Format not found: ",
    "Format not found: ", "Формат не найден: ",      "Formatas nerastas: ",
};

const MessageTable FIELD_NAMEMsg = {
    "Field Name description Error ",
    "Fehler in der Feldnamenbeschreibung ",
    "Errore nella descrizione del nome di campo ",
    "Field Name description Error ",
    "Field Name description Error ",
    "Ошибка описания имени поля ",
    "Lauko vardo aprašymo klaida ",
};

const MessageTable ABSTRACT_Msg = {
    "Error ", "Fehler ", "Errore ", "Error ", "Error ", "Ошибка ", "Klaida ",
};

const MessageTable PRINTER_OPENMsg = {
    "Printer Open Error ",           "Fehler beim Öffnen des Druckers ",
    "Apertura di Stampante errata ", "Printer Open Error ",
    "Printer Open Error ",           "Ошибка принтера ",
    "Spausdintuvo klaida ",
};

const MessageTable FILE_OPENMsg = {
    "File Open Error ",         "Fehler beim Öffnen der Datei ",
    "Apertura di File errata ", "File Open Error ",
    "File Open Error ",         "Ошибка открытия файла ",
    "Klaida atidarant Failą ",
};

const MessageTable FILE_READMsg = {
    "File Read Error ", "Datei Lesefehler ",    "Lettura di File errata ", "File Read Error ",
    "File Read Error ", "Ошибка чтения файла ", "Klaida skaitant Failą ",
};

const MessageTable PRINTER_OUTPMsg = {
    "Printer error. ABORT ",
    "Druckfehler. ABBRUCH ",
    "Errore di Stampante. Chiudere ",
    "Printer error. ABORT ",
    "Printer error. ABORT ",
    "Ошибка принтера. Прервать ",
    "Spausdinimo klaida. Nutraukti spausdinimą ",
};

const MessageTable PRINTER_ENDMsg = {
    "Printer error at the end of the job ",      "Druckerfehler am Ende des Auftrags ",
    "Errore di Stampante alla fine del lavoro ", "Printer error at the end of the job ",
    "Printer error at the end of the job ",      "Ошибка принтера в конце задания ",
    "Spausdintuvo klaida baigiant užduotį ",
};

const MessageTable VIEWER_Msg = {
    "Viewer not assigned to the tQuillon: ",    "Viewer für tQuillon nicht zugewiesen: ",
    "Viewer non atacato al tQuillon: ",         "Viewer not assigned to the tQuillon: ",
    "Viewer not assigned to the tQuillon: ",    "Не поключен компонент просмотра (Viewer): ",
    "Viewer-is neprijungtas prie tQuillon-o: ",
};

const MessageTable PAGE_NUMBERCaption = {
    "Page Number", "Seite Nummer",   "Numero pagina", "Page Number",
    "Page Number", "Номер страницы", "Lapo numeris",
};

const MessageTable SLOT_COUNTMsg = {
    "More than 250 field slots in a level: ", "Mehr als 250 Feldplätze in einer Ebene: ",
    "Più di 250 campi in un livello: ",       "More than 250 field slots in a level: ",
    "More than 250 field slots in a level: ", "Более 250 полей на одном уровне: ",
    "Daugiau nei 250 laukų viename lygyje: ",
};

const MessageTable SLOT_WIDTHMsg = {
    "Field slot longer than 255 characters: ", "Feldplatz länger als 255 Zeichen: ",
    "Campo più lungo di 255 caratteri: ",      "Field slot longer than 255 characters: ",
    "Field slot longer than 255 characters: ", "Поле длиннее 255 символов: ",
    "Laukas ilgesnis nei 255 simbolių: ",
};

const MessageTable LINE_Msg = {
    "line ", "Zeile ", "riga ", "line ", "line ", "строка ", "eilutė ",
};

std::string_view Msg(const MessageTable& table, TRepLanguage language) {
    const int index = static_cast<int>(language);
    return (index >= 0 && index < kLanguageCount) ? table[index] : table[laEnglish];
}

int ShowMessage(const MessageRoutine& routine, std::string_view msg, TMsgDlgType type,
                TMsgDlgButtons buttons) {
    if (routine) return routine(msg, type, buttons);
    return DefaultHost().MessageDlg(msg, type, buttons);
}

}  // namespace quillon
