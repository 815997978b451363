// quillon mail FILE... --to ADDR [--cc ADDR] [--subject TEXT] [--text TEXT | --text-file F]
// [--settings QUILDOC.INI] [--profile SECTION] [--eml OUT.eml [--from ADDR]]: mails files
// as attachments over the SMTP account of a settings profile, or writes the message to an
// .eml file (From: --from, else the profile's sender, else the local user at this host).
//
// A failure is reported with its reason first (the missing setting, the server's answer,
// the file), then the mail result code it exits with.
//
// The password comes from $QUILLON_SMTP_PASSWORD, else from the profile's PASSWORD key;
// never from the command line, where other users could read it.
//
// Exit codes: 0 sent (or written); otherwise the mail result code of the failure, e.g.
// 2 general failure, 3 login failure, 11 attachment not found, 12 attachment unreadable,
// 14 recipient refused, 23 network failure, 25 invalid recipient; 66 the --text-file
// cannot be read.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "apps/quillon/command_registry.h"
#include "engine/mapi_error.h"
#include "mail/eml_storage.h"
#include "mail/smtp_storage.h"
#include "platform/core/text_encoding.h"

namespace quillon::app {

namespace {

constexpr int kExitTextFile = 66;

struct MailOptions {
    std::vector<std::string> files;
    std::vector<std::string> to;
    std::vector<std::string> cc;
    std::string subject;
    std::string text;
    std::string text_file;
    std::string settings;
    std::string profile;
    std::string eml;
    std::string from;
};

// The reason in plain words; the engine's own message ("MAPI: ... ErrorCode = N", which the
// viewer window shows) says nothing more on a command line than the exit code does.
void ReportFailure(const EMapiError& e) {
    const std::string_view name = MapiErrorName(e.ErrorCode());
    if (e.Detail().empty()) {
        std::cerr << "quillon mail: " << e.what() << '\n';
        return;
    }
    std::cerr << "quillon mail: " << e.Detail() << '\n'
              << "quillon mail: nothing was sent (mail result " << e.ErrorCode();
    if (!name.empty()) std::cerr << ", " << name;
    std::cerr << ")\n";
}

int RunMail(const MailOptions& options) {
    std::string text = options.text;
    if (!options.text_file.empty()) {
        std::ifstream in(options.text_file, std::ios::binary);
        if (!in) {
            std::cerr << "quillon mail: cannot read the message text file " << options.text_file
                      << '\n';
            return kExitTextFile;
        }
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::unique_ptr<TrptMailStorage> storage;
    if (!options.eml.empty()) {
        auto eml = std::make_unique<TrptEmlStorage>();
        eml->SetFileName(options.eml);
        eml->SetSettingsPath(options.settings);
        eml->SetFrom(options.from);
        storage = std::move(eml);
    } else {
        auto smtp = std::make_unique<TrptSmtpStorage>();
        smtp->SetSettingsPath(options.settings);
        storage = std::move(smtp);
    }
    if (const char* password = std::getenv("QUILLON_SMTP_PASSWORD")) {
        storage->SetPassword(password);
    }
    storage->SetProfileName(options.profile);
    storage->SetReview(false);
    storage->SetSubject(options.subject);
    storage->SetToRecipients(options.to);
    storage->SetCcRecipients(options.cc);
    storage->SetMessageText(text::SplitLines(text));
    storage->SetAttachments(options.files);
    try {
        storage->Logon();
        storage->Send();
        storage->Logoff();
    } catch (const EMapiError& e) {
        storage->Logoff();
        ReportFailure(e);
        return e.ErrorCode();
    } catch (const EMapiUserAbort& e) {
        storage->Logoff();
        std::cerr << "quillon mail: cancelled, nothing was sent\n";
        return e.ErrorCode();
    }
    if (!options.eml.empty())
        std::cout << "quillon mail: message written to " << options.eml << '\n';
    return 0;
}

CommandRegistrar registrar([](CLI::App& app) {
    auto* cmd = app.add_subcommand(
        "mail",
        "Mail files as attachments over the SMTP account of a settings profile, or write the "
        "message to an .eml file. The password comes from $QUILLON_SMTP_PASSWORD or the "
        "profile's PASSWORD. Exit code: 0, or the mail result code (2 general, 3 login, 11 "
        "attachment missing, 12 attachment unreadable, 14 recipient refused, 23 network, 25 "
        "invalid recipient), 66 --text-file unreadable");
    auto options = std::make_shared<MailOptions>();
    cmd->add_option("files", options->files, "Files to attach (report files)")->required();
    // One address per --to or --cc, so that files may follow them.
    cmd->add_option("--to", options->to, "A To recipient: ADDR or \"Name <ADDR>\" (repeatable)")
        ->required()
        ->allow_extra_args(false);
    cmd->add_option("--cc", options->cc, "A Cc recipient (repeatable)")->allow_extra_args(false);
    cmd->add_option("--subject", options->subject, "The subject");
    auto* text = cmd->add_option("--text", options->text, "The message text");
    cmd->add_option("--text-file", options->text_file, "Read the message text from a file")
        ->excludes(text);
    cmd->add_option("--settings", options->settings,
                    "Settings file (QUILDOC.INI) with the mail profile");
    cmd->add_option("--profile", options->profile,
                    "Settings section of the SMTP account (default MAIL)");
    auto* eml = cmd->add_option("--eml", options->eml,
                                "Write the message to this .eml file instead of sending it");
    cmd->add_option("--from", options->from,
                    "With --eml: the sender, ADDR or \"Name <ADDR>\" (default: the profile's "
                    "FROM, else USER@HOST of this machine)")
        ->needs(eml);
    cmd->callback([options] { SetExitCode(RunMail(*options)); });
});

}  // namespace

}  // namespace quillon::app
