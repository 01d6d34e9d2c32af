#include "cli/arguments.h"

#include <algorithm>
#include <cstdlib>

namespace zavi::cli {

namespace {

struct CommandShape {
    Command command;
    const char* name;
    std::size_t min_files, max_files;
    std::vector<const char*> flags;
    std::vector<const char*> values{};  // options that take a value
};

const std::vector<CommandShape>& shapes() {
    static const std::vector<CommandShape> all = {
        {Command::status, "status", 0, 0, {"--json"}},
        {Command::backup, "backup", 1, 1, {"--with-sim-codes"}},
        {Command::restore, "restore", 1, 1, {"--dry-run", "--with-sim-codes"}},
        {Command::diff, "diff", 1, 2, {"--json"}},
        {Command::numbers_export, "numbers export", 1, 1, {}},
        {Command::numbers_import, "numbers import", 1, 1, {"--replace", "--dry-run"}},
        {Command::template_file, "template", 2, 2, {}, {"--only"}},
        {Command::apply, "apply", 1, 1, {"--dry-run", "--with-sim-codes"}, {"--sites", "--site"}},
        {Command::mqtt,
         "mqtt",
         0,
         0,
         {"--tls"},
         {"--broker", "--username", "--password-file", "--cafile", "--interval", "--topic-prefix"}},
        {Command::watch, "watch", 0, 0, {"--json"}, {"--interval", "--log"}},
        {Command::test, "test", 0, 0, {"--json"}, {"--seconds"}},
        {Command::survey, "survey", 0, 0, {"--json"}, {"--seconds", "--csv"}},
        {Command::report,
         "report",
         1,
         1,
         {},
         {"--site", "--installer", "--language", "--test", "--survey"}},
        {Command::history, "history", 0, 1, {"--json"}},
        {Command::clone, "clone", 1, 1, {"--json"}, {"--sites", "--ports", "--out"}},
    };
    return all;
}

bool parse_index(const std::string& text, int* out) {
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    *out = std::atoi(text.c_str());
    return true;
}

}  // namespace

bool parse_arguments(const std::vector<std::string>& args, Arguments* a, std::string* error) {
    const auto usage = [error](std::string message) {
        *error = std::move(message);
        return false;
    };
    std::size_t i = 0;
    auto value = [&](const std::string& option, std::string* out) {
        if (i + 1 >= args.size()) return usage(option + " needs a value");
        *out = args[++i];
        return true;
    };
    for (; i < args.size(); ++i) {
        const std::string& s = args[i];
        if (s == "--sim") {
            a->sim = true;
        } else if (s == "--state") {
            if (!value(s, &a->state_file)) return false;
        } else if (s == "--scenario") {
            if (!value(s, &a->scenario_file)) return false;
        } else if (s == "--device") {
            std::string text;
            if (!value(s, &text)) return false;
            if (!parse_index(text, &a->device.emplace()))
                return usage("--device needs a device index (0, 1, ...), not \"" + text + "\"");
        } else if (s == "--port") {
            if (!value(s, &a->port.emplace())) return false;
        } else if (s == "--help" || s == "-h") {
            a->help = true;
        } else if (s == "--version") {
            a->version = true;
        } else if (!s.empty() && s[0] == '-') {
            return usage("unknown option " + s + " (options come before the command)");
        } else {
            break;
        }
    }
    if (!a->scenario_file.empty() && !a->sim) return usage("--scenario belongs to --sim");
    if (!a->state_file.empty() && !a->sim) return usage("--state belongs to --sim");
    if (a->port && (a->sim || a->device)) return usage("--port excludes --sim and --device");
    if (i == args.size()) return a->help || a->version || usage("no command given");

    std::string name = args[i++];
    if (name == "numbers") {
        if (i == args.size()) return usage("numbers needs export or import");
        name += " " + args[i++];
    }
    const auto& all = shapes();
    const auto shape =
        std::find_if(all.begin(), all.end(), [&](const CommandShape& c) { return name == c.name; });
    if (shape == all.end()) return usage("unknown command " + name);
    a->command = shape->command;
    for (; i < args.size(); ++i) {
        const std::string& s = args[i];
        if (s == "--help" || s == "-h") {
            a->help = true;
        } else if (std::find(shape->values.begin(), shape->values.end(), s) !=
                   shape->values.end()) {
            if (!value(s, &a->values[s])) return false;
        } else if (s.size() > 1 && s[0] == '-' && s[1] == '-') {
            if (std::find(shape->flags.begin(), shape->flags.end(), s) == shape->flags.end())
                return usage(std::string(shape->name) + " has no option " + s);
            if (s == "--json") a->json = true;
            if (s == "--with-sim-codes") a->with_sim_codes = true;
            if (s == "--dry-run") a->dry_run = true;
            if (s == "--replace") a->replace = true;
            if (s == "--tls") a->tls = true;
        } else {
            a->files.push_back(s);
        }
    }
    if (a->help) return true;
    if (a->command == Command::mqtt && !a->values.count("--broker"))
        return usage("mqtt needs --broker HOST[:PORT]");
    // Options these commands cannot do without.
    const std::vector<const char*> needed =
        a->command == Command::template_file ? std::vector<const char*>{"--only"}
        : a->command == Command::apply       ? std::vector<const char*>{"--sites", "--site"}
                                             : std::vector<const char*>{};
    for (const char* option : needed)
        if (!a->values.count(option)) return usage(std::string(shape->name) + " needs " + option);
    if (a->files.size() < shape->min_files || a->files.size() > shape->max_files)
        return usage(std::string(shape->name) + ": wrong number of files (see " + shape->name +
                     " --help)");
    return true;
}

const char* tool_help() {
    return "Usage: zavi-gsm-cli [--sim [--scenario FILE] [--state STATE.json]] [--device N]\n"
           "                    [--port PATH] COMMAND ...\n"
           "\n"
           "Commands:\n"
           "  status [--json]                          the module's live status\n"
           "  backup FILE [--with-sim-codes]           save the module's configuration\n"
           "  restore FILE [--dry-run] [--with-sim-codes]\n"
           "                                           write the file's configuration\n"
           "  diff FILE [FILE2] [--json]               differences module -> FILE, or FILE -> "
           "FILE2\n"
           "  numbers export FILE.csv                  the accepted numbers as CSV\n"
           "  numbers import FILE.csv [--replace] [--dry-run]\n"
           "                                           add (or replace with) numbers from CSV\n"
           "  template FILE OUT --only RECORD,...      a partial file of FILE's records\n"
           "  apply TEMPLATE --sites SITES.csv --site LABEL [--dry-run] [--with-sim-codes]\n"
           "                                           restore the template with a site's values\n"
           "  mqtt --broker HOST[:PORT] [...]          publish the live status over MQTT (Home\n"
           "                                           Assistant); see mqtt --help\n"
           "  watch [--interval MS] [--log FILE.csv] [--json]\n"
           "                                           print each status change until Ctrl-C\n"
           "  test [--seconds N] [--json]              walk test: every input in both states\n"
           "  survey [--seconds N] [--csv FILE] [--json]\n"
           "                                           GSM signal survey and its verdict\n"
           "  report OUT.html [--site LABEL] [--installer NAME] [--language pl|en|de]\n"
           "         [--test RESULT.json] [--survey RESULT.json]\n"
           "                                           commissioning report and backup\n"
           "  history [IDENTITY|SITE] [--json]         the kept copies of each module, newest\n"
           "                                           first, with what changed\n"
           "  clone FILE [--ports all|P1,P2,...] [--out DIR] [--json]\n"
           "                                           restore FILE on several modules at once\n"
           "\n"
           "Options (before the command):\n"
           "  --sim              the built-in simulated module\n"
           "  --state STATE.json load the simulated module from this file and save it back\n"
           "  --scenario FILE    the simulated module's scenario (faults, timeline)\n"
           "  --device N         the index among the module ports found, from 0 (default: the\n"
           "                     highest good module)\n"
           "  --port PATH        the module on this serial port alone: /dev/ttyUSB0,\n"
           "                     /dev/serial/by-id/..., a pseudo-terminal; COM5 on Windows\n"
           "  --help             this text; COMMAND --help describes a command\n"
           "  --version          the tool's version\n"
           "\n"
           "Exit codes: 0 done, 1 diff found differences or test missed an input, 2 usage error,\n"
           "3 no module, driver or usable port, or other firmware, 4 communication failed, 5\n"
           "invalid file, 6 read-back differs from the file, 7 the MQTT broker refused the user\n"
           "name or password.\n";
}

const char* command_help(Command command) {
    switch (command) {
        case Command::status:
            return "Usage: zavi-gsm-cli [OPTIONS] status [--json]\n"
                   "Reads the module's status: temperatures, battery, GSM, I/O states.\n"
                   "  --json  one JSON object on stdout\n";
        case Command::backup:
            return "Usage: zavi-gsm-cli [OPTIONS] backup FILE [--with-sim-codes]\n"
                   "Reads the whole configuration and saves it as FILE (.zavi.json).\n"
                   "  --with-sim-codes  also read and save the SIM card's PIN and PUK\n";
        case Command::restore:
            return "Usage: zavi-gsm-cli [OPTIONS] restore FILE [--dry-run] [--with-sim-codes]\n"
                   "Checks FILE, reads the module, saves an automatic backup of it, writes only\n"
                   "the records that differ and reads them back.\n"
                   "  --dry-run         show what would be written; write nothing\n"
                   "  --with-sim-codes  also write the file's PIN and PUK (a wrong PIN can lock\n"
                   "                    the SIM card)\n";
        case Command::diff:
            return "Usage: zavi-gsm-cli [OPTIONS] diff FILE [FILE2] [--json]\n"
                   "Differences between the module (old) and FILE (new), or FILE and FILE2.\n"
                   "Exit 0 when equal, 1 when they differ.\n"
                   "  --json  a JSON array of {\"path\", \"old\", \"new\"}\n";
        case Command::numbers_export:
            return "Usage: zavi-gsm-cli [OPTIONS] numbers export FILE.csv\n"
                   "Saves the accepted telephone numbers as CSV (header \"number\", \"+\" in "
                   "front).\n";
        case Command::numbers_import:
            return "Usage: zavi-gsm-cli [OPTIONS] numbers import FILE.csv [--replace] [--dry-run]\n"
                   "Reads numbers from the first column (separator , ; or tab), reports valid,\n"
                   "duplicate and rejected rows, then adds the valid ones to the end of the list.\n"
                   "  --replace  the valid numbers replace the list\n"
                   "  --dry-run  report only\n";
        case Command::mqtt:
            return "Usage: zavi-gsm-cli [OPTIONS] mqtt --broker HOST[:PORT] [--username U\n"
                   "                    --password-file F] [--tls [--cafile F]] [--interval S]\n"
                   "                    [--topic-prefix P]\n"
                   "Publishes the module's live status to an MQTT broker, with Home Assistant's\n"
                   "discovery messages and an availability topic, until Ctrl+C or SIGTERM.\n"
                   "Only reads from the module. Reconnects to the broker by itself.\n"
                   "  --broker         the broker (port 1883, 8883 with --tls)\n"
                   "  --username       the user name at the broker\n"
                   "  --password-file  a file whose first line is the password (chmod 600)\n"
                   "  --tls            TLS, checked against the system's certificates\n"
                   "  --cafile         ...or against this CA certificate (PEM)\n"
                   "  --interval       seconds between status reads, 0.5 to 3600 (default 10)\n"
                   "  --topic-prefix   the topics' first levels (default zavi-gsm)\n";
        case Command::template_file:
            return "Usage: zavi-gsm-cli template FILE OUT --only RECORD[,RECORD...]\n"
                   "Saves as OUT a partial configuration file that holds only the named records\n"
                   "of FILE; restore, apply and diff then touch those records alone.\n"
                   "  --only  the records, separated by commas: alarm_settings,\n"
                   "          alarm_procedures, call_answer, auto_status, auto_reset,\n"
                   "          emergency_numbers, accept_all, accepted_numbers, io_names,\n"
                   "          sim_codes\n";
        case Command::apply:
            return "Usage: zavi-gsm-cli [OPTIONS] apply TEMPLATE --sites SITES.csv --site LABEL\n"
                   "                    [--dry-run] [--with-sim-codes]\n"
                   "Checks the whole sites table against TEMPLATE, then restores TEMPLATE with\n"
                   "the values of the site's row: automatic backup, only the records that\n"
                   "differ, read-back.\n"
                   "  --sites           the sites table (CSV, header row, first column site)\n"
                   "  --site            the label of the site in it\n"
                   "  --dry-run         show the differences; write nothing\n"
                   "  --with-sim-codes  also write the PIN and PUK (needed when the table sets\n"
                   "                    them)\n";
        case Command::watch:
            return "Usage: zavi-gsm-cli [OPTIONS] watch [--interval MS] [--log FILE.csv] [--json]\n"
                   "Reads the live status again and again and prints one line per change, until\n"
                   "Ctrl-C or SIGTERM (then a summary on stderr, exit 0).\n"
                   "  --interval MS  time from one status read to the next (default 1000)\n"
                   "  --log FILE     the changes as CSV: time,field,old,new\n"
                   "  --json         one JSON object per line\n";
        case Command::test:
            return "Usage: zavi-gsm-cli [OPTIONS] test [--seconds N] [--json]\n"
                   "Walk test: prints each input state as it is first seen; ends when all four\n"
                   "inputs were seen in both states, or after N seconds (default 300).\n"
                   "Exit 0 when all were seen, 1 when some were missing (listed on stderr).\n"
                   "  --seconds N  the longest the test runs, in seconds (default 300)\n"
                   "  --json       the result as JSON on stdout (for report --test)\n";
        case Command::survey:
            return "Usage: zavi-gsm-cli [OPTIONS] survey [--seconds N] [--csv FILE] [--json]\n"
                   "Samples the GSM signal as fast as the line allows for N seconds (default 60)\n"
                   "or until Ctrl-C, then prints present/lowest/mean/highest and a verdict.\n"
                   "  --seconds N  how long to sample (default 60, at most 600)\n"
                   "  --csv FILE   the samples as CSV: time,dbm\n"
                   "  --json       the result as JSON on stdout (for report --survey)\n";
        case Command::report:
            return "Usage: zavi-gsm-cli [OPTIONS] report OUT.html [--site LABEL] [--installer "
                   "NAME]\n"
                   "       [--language pl|en|de] [--test RESULT.json] [--survey RESULT.json]\n"
                   "Reads the module and writes the commissioning report OUT.html and the\n"
                   "configuration beside it (OUT.zavi.json), whose SHA-256 the report names.\n"
                   "  --site LABEL      the site's name on the report\n"
                   "  --installer NAME  who commissioned it\n"
                   "  --language L      pl, en or de (default en)\n"
                   "  --test FILE       the result of test --json, to include\n"
                   "  --survey FILE     the result of survey --json, to include\n";
        case Command::history:
            return "Usage: zavi-gsm-cli history [IDENTITY|SITE] [--json]\n"
                   "Lists the copies kept of each module's configuration (every backup and "
                   "restore\n"
                   "keeps one), newest first, with what changed since the module's copy before.\n"
                   "IDENTITY is the serial number of the module's USB chip; a name that is no "
                   "module's\n"
                   "identity is taken as a site label. Without one, every module.\n"
                   "  --json  a JSON array of the entries with their changes\n";
        case Command::clone:
            return "Usage: zavi-gsm-cli [--sim] clone FILE [--sites SITES.csv] [--ports "
                   "all|P1,P2,...]\n"
                   "                    [--out DIR] [--json]\n"
                   "Restores FILE on every module found (or on each named port) at the same time,\n"
                   "one thread per port, each as restore does: automatic backup, only the records\n"
                   "that differ, read-back. One summary line per module on stdout (port,\n"
                   "identity, site, result, time); each module's report on stderr. Exit 0 only\n"
                   "when every module succeeded, else the code of the first that did not.\n"
                   "  --ports  all (the default: every FTDI port found) or a comma-separated list\n"
                   "  --out    also save each module's configuration before and after in DIR\n"
                   "  --json   one JSON object per module and line instead of the summary lines\n"
                   "  --sites  a sites table: the modules take its sites in table order, in port\n"
                   "           order, except a module the history binds to one of them\n";
        case Command::none:
            break;
    }
    return tool_help();
}

}  // namespace zavi::cli
