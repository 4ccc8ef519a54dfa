#include "commands.h"

#include <sstream>

#include "simoptions.h"

namespace {

const OptionSyntax kPortOption{"port", 'p', "PORT", "the radio's port: COM + number or a device path",
                             true};
const OptionSyntax kDeviceOption{"device", 'd', "PATH",
                               "also a port at this device path (COM97 onwards); repeatable"};

// The simulator's own option list, without its usage line and its --help.
std::string SimulatorOptions() {
  const std::string usage = SimUsage();
  const size_t start = usage.find("\n\n");
  std::istringstream lines(start == std::string::npos ? usage : usage.substr(start + 2));
  std::string out = "\nSimulator options:\n", line;
  while (std::getline(lines, line))
    if (line.rfind("  --help", 0) != 0 && line.rfind("  --version  ", 0) != 0) out += line + "\n";
  return out;
}

}  // namespace

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {{"ports", "", "list the serial ports: COM name, device, USB adapter description",
        {kDeviceOption}},
       RunPorts},
      {{"detect", "", "find the port where a radio of this build's model answers",
        {kDeviceOption}, 0, 0,
        "Probes every existing port at 9600 baud, lowest number first, and prints\n"
        "the first port whose radio is of this build's model (by its product ID and\n"
        "its firmware text) on standard output, in a form --port accepts.\n"},
       RunDetect},
#ifndef _WIN32  // the lead check reads Linux's /sys and /proc
      {{"doctor", "", "why the lead does not answer: each finding with what to do",
        {{"port", 'p', "PORT", "check this port alone: COM + number or a device path"},
         {"json", 0, nullptr, "the findings as JSON, for support"},
         {"udev-rule", 0, nullptr, "print a udev rule for the connected USB lead"}},
        0, 0,
        "For each port the programmer would consider (or PORT): the device, its USB\n"
        "adapter (IDs, driver, serial number, /dev/serial/by-id and by-path names),\n"
        "whether this user may open it (its group and mode, the user's groups and\n"
        "this login's), which processes hold it open, whether ModemManager watches\n"
        "it and whether brltty has claimed the adapter. Then it opens the port,\n"
        "checks whether the lead echoes what it sends, and asks for the radio's\n"
        "product ID at each rate this build uses, naming the model that answers.\n"
        "One line per finding on standard output, with what to do about it.\n"
        "Exit status 0 when a radio of this build's model answers, 1 otherwise.\n"
        "--udev-rule: a rule for the one connected USB lead (or PORT's), pinned to\n"
        "its vendor, product and serial number: group dialout, mode 0660, left alone\n"
        "by ModemManager, and the link /dev/vorn-lead. The README says how to\n"
        "install it.\n"},
       RunDoctor},
#endif
      {{"info", "", "the radio's firmware text, product ID, PCB revision and firmware version",
        {kPortOption}},
       RunInfo},
      {{"read", "", "read the radio's memory into a mem-file",
        {kPortOption, {"output", 'o', "FILE", "the mem-file to write", true}}, 0, 0,
        "The mem-file is written only when the whole memory was read; an existing\n"
        "file is replaced in one step and is left as it was on any failure.\n"
        "Ctrl-C cancels the transfer; the radio is still reset.\n"},
       RunRead},
      {{"write", "FILE", "write a mem-file into the radio",
        {kPortOption, {"yes", 'y', nullptr, "answer OK to the programmer's questions"},
         {"backup", 'b', "FILE", "also save the read taken before the write in this mem-file"},
         {"no-backup", 0, nullptr, "write without reading the radio first"},
         {"keep-calibration", 'k', nullptr, "keep the radio's own bytes 0 to 31 (its alignment)"},
         {"verify", 'V', nullptr, "read the radio back and compare it with what was written"},
         {"only", 0, "GROUP[,GROUP...]", "write only these groups of FILE (see vornprog groups)"},
         {"except", 0, "GROUP[,GROUP...]", "write every group of FILE but these"},
         {"changed-from", 0, "BASE", "write the groups in which FILE differs from mem-file BASE"}},
        1, 1,
        "FILE must be a whole 2048-byte memory image. The programmer's checks run\n"
        "as in the window: the radio's model, the file's model and their match are\n"
        "refused when wrong whatever --yes says.\n"
        "Before anything is written the whole radio is read and kept in the read\n"
        "archive (see vornprog archive), so the write can be taken back with\n"
        "vornprog restore; when that read fails, nothing is written. --no-backup\n"
        "skips it: each run of vornprog is a new session, so the \"Radio has not been\n"
        "read in this session\" question is then asked, and without --yes it is\n"
        "answered Cancel and nothing is written.\n"
        "--backup: the read is also saved in FILE; when that fails, nothing is written.\n"
        "--keep-calibration: bytes 0 to 31 are read from the radio and written back\n"
        "in place of the file's (its \"Product ID\" stays the file's, for the model\n"
        "check); the file itself is not changed. With the group options: the\n"
        "calibration and identity groups are left out.\n"
        "--verify: a radio that differs from what was written fails the command, and\n"
        "the differing parameters are named as diff names them.\n"
        "--only, --except, --changed-from (one of them): the chosen groups come from\n"
        "FILE, every other bit stays as the radio has it; only the 16-byte blocks\n"
        "that then differ from the radio are written, and they are always read back\n"
        "and compared. A write cut short names the groups written and the command\n"
        "that puts the radio back.\n"},
       RunWrite},
      {{"dump", "FILE", "list a mem-file's parameters and receive-only channels", {}, 1, 1,
        "The model is the one named by the file's product ID. Each parameter of that\n"
        "model: index, name, address, value in decimal and hexadecimal. Values are\n"
        "single bytes except the words \"Product ID\" and \"PCB Rev\"; the 24-byte\n"
        "channel bit arrays, \"Selcall Mem\" (80 bytes) and \"Selcall Ident\" (8 bytes)\n"
        "are shown as their bytes in hexadecimal; \"Rx-only Channels\" are the\n"
        "records, decoded below the parameters: record, bank and channel number,\n"
        "frequency in MHz, alpha tag, memberships Scan0/Scan1/Quiet/Silent.\n"
        "The subtone codes (\"Tx CTCSS Tone\", \"Rx CTCSS Tone\", \"Netscan Ctcss\n"
        "Tone\") are named too (\"CTC02 - 69.4Hz\", \"DT001 - 023\", \"OFF\", \"???\"),\n"
        "in the tone numbering \"Options-5\" and the model put in force; a Dravo\n"
        "counts as firmware 1.x, which a file cannot tell.\n"},
       RunDump},
      {{"diff", "FILE1 FILE2", "name the parameters and receive-only channels that differ", {},
        2, 2,
        "Exit status: 0 when the files are the same, 1 when they differ, 2 when a\n"
        "file cannot be read. Bytes outside every named parameter that differ are\n"
        "listed by address. A file named .yaml or .yml is a configuration text (see\n"
        "export); it must give the whole configuration.\n"},
       RunDiff},
#ifdef VORN_CONFIG_TEXT
      {{"export", "CONFIG", "a mem-file's whole configuration as YAML text",
        {{"output", 'o', "FILE", "write the text here (replaced in one step) instead of to standard output"}},
        1, 1,
        "The model by the file's product ID (\"model\"), then the groups of settings\n"
        "as top-level keys: channels, scan, selcall, selcall-memories, subtones,\n"
        "squelch, options, calibration, identity, other (those the model has). Each\n"
        "parameter goes by its name, in the window's units, with its range in a\n"
        "comment; a bit of a shared option byte as \"NAME bit N: on/off\"; channel bit\n"
        "arrays as lists of channel numbers; the receive-only channels as rows. A\n"
        "value the window could not show is written 0x.. (the stored byte), and the\n"
        "bits no name describes go under \"bytes\" by address in hexadecimal, so\n"
        "import gives back the image byte for byte. The same file always gives the\n"
        "same text, one setting a line.\n"},
       RunExport},
      {{"import", "FILE", "make a mem-file from a YAML configuration text",
        {{"output", 'o', "CONFIG", "the mem-file to write", true},
         {"onto", 0, "BASE", "start from this mem-file and change only what FILE names"}},
        1, 1,
        "Without --onto FILE must give the whole configuration, as export writes it.\n"
        "With --onto any subset of groups, keys and channel rows (a template) changes\n"
        "just those bits of BASE; FILE's model must be BASE's. Wrong input is refused\n"
        "with its file, line and column, the key's path and what is allowed, and\n"
        "nothing is written. CONFIG is replaced in one step.\n"},
       RunImport},
#endif
      {{"report", "FILE", "the configuration report of a mem-file, as the window prints it",
        {{"calibration", 0, nullptr, "add the alignment calibration settings"},
         {"rx-channels", 0, nullptr, "add the receive-only channels"},
         {"selcall", 0, nullptr, "add the selcall memories heading"},
         {"pdf", 0, "OUT", "print the report to this PDF file instead (A4, page after page)"}},
        1, 1,
        "The report lines go to standard output, one a line; the data source line\n"
        "names FILE. The switches are the window's \"Report Options\" boxes; one for a\n"
        "section this build's model lacks is ignored, with a note. The model is this\n"
        "build's own (the file's in the all-models build). A file of another model is\n"
        "reported after the programmer's \"Incorrect radio type\" note; a file that\n"
        "cannot be read gives exit status 1. --pdf replaces OUT in one step.\n"},
       RunReport},
      {{"simulate", "[options]",
        "run a simulated radio on a pseudo-terminal; prints its device path first", {}, 0, 0,
        "Serves until interrupted (Ctrl-C or SIGTERM). The model defaults to this\n"
        "build's model.\n",
        true, SimulatorOptions},
       RunSimulate},
      {{"archive", "", "list the reads kept in the read archive, oldest first", {}, 0, 0,
        "Every complete read from a radio, by this tool or the window, is also saved\n"
        "in the read archive: $XDG_DATA_HOME/Vorn/<model>/reads, or\n"
        "~/.local/share/Vorn/<model>/reads when XDG_DATA_HOME is not set. The files\n"
        "are named by date and time, model and product ID, and are never replaced.\n"
        "Prints one path a line on standard output.\n"},
       RunArchive},
      {{"channels", "FILE",
        "the receive-only channels of a mem-file as CSV, or replace them from a CSV list",
        {{"import", 'i', "LIST", "replace the channels by those of this CSV list"},
         {"output", 'o', "FILE", "with --import: write the result here instead of into FILE"}},
        1, 1,
        "Columns: Bank (A-E), Slot (0-18), Channel (81 + slot; may be left empty),\n"
        "Frequency (MHz), Alpha Tag, then Scan0, Scan1, Quiet and Silent (1 or 0).\n"
        "An import replaces every channel of slots 0-18 of the model's banks; slot 19\n"
        "is kept as it is. Each row is held to the channel editor's rules: a\n"
        "frequency above 0 and up to 819.1750 MHz on a 12.5 kHz step, at most five\n"
        "tag characters from blank to \"_\" (not \"@\"; small letters become capitals),\n"
        "bank A alone on models without banks, each bank and slot once. Any bad row\n"
        "is named with its line number and nothing is written.\n"},
       RunChannels},
      {{"batch", "CONFIG", "write one configuration into radio after radio on one port",
        {kPortOption,
         {"first-ident", 'f', "DIGITS", "the first radio's selcall ident (1 to 5 digits)"},
         {"count", 'n', "N", "the number of radios to program (default 1)"},
         {"log", 'l', "LOG", "the CSV log of the radios; an existing log is resumed"},
         {"gone-after", 0, "MS",
          "the milliseconds a radio must stay silent to count as gone (default 3000)"}},
        1, 1,
        "Waits for a radio to answer on the port, then checks its model against\n"
        "CONFIG's (another model is refused), reads it whole (kept in the read\n"
        "archive), writes CONFIG with the radio's own bytes 0 to 31 kept and, on\n"
        "models with selcall, its own ident, reads it back and compares, and resets\n"
        "it. Then it waits for the radio to stop answering (for MS, 3 seconds by\n"
        "default) before the next; the radio just programmed, switched off and on\n"
        "again, is recognised and not written twice.\n"
        "Each radio that ends OK takes the next ident, counted up in decimal within\n"
        "the Selcall window's 5 positions (9, 10, 11); a first ident shorter than 5\n"
        "digits leaves positions stored as digit F, as the window warns. A radio that\n"
        "fails leaves its ident to the next. N counts the radios that end OK.\n"
        "--log: one CSV line per radio, held locked for the whole batch (a second\n"
        "batch on it is refused) and read again before each ident is given; idents\n"
        "it logs as OK are never given again. An existing log must begin with the\n"
        "log's header line, and CONFIG can never be the log. Ctrl-C between radios\n"
        "stops; during a transfer it cancels it (the radio is reset) and the radio\n"
        "is logged as cancelled.\n"
        "Exit status 0 when all N radios ended OK and none failed, 1 otherwise.\n"},
       RunBatch},
      {{"restore", "[FILE]", "put a read from the archive (or FILE) back into the radio",
        {kPortOption, {"last", 0, nullptr, "the newest read in the read archive"}}, 0, 1,
        "Give FILE (a whole mem-file, usually one of vornprog archive's) or --last.\n"
        "The radio is read first (kept in the read archive, so the restore can be\n"
        "taken back too), then every 16-byte block that differs from the chosen read\n"
        "is written, read back and compared. A read of another radio of the model\n"
        "(its calibration or identity differ) keeps the connected radio's own.\n"},
       RunRestore},
      {{"groups", "", "list the groups of settings and their addresses",
        {{"model", 'm', "NAME", "this model's groups (default: this build's model)"}}, 0, 0,
        "Every bit of a model's memory image belongs to one group; where a byte is\n"
        "shared, its bits are shown in brackets. The first column is the name the\n"
        "write command's --only and --except take.\n"},
       RunGroups},
  };
  return commands;
}
