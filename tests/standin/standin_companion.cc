// SPDX-License-Identifier: GPL-2.0-or-later
// A stand-in for the driver's spooler-side companion tool, for tests, the
// demo and the benchmark. Installed as <root>/<code>/bin/lpd/
// vtmediatoolcups_<code>, it does what the driver relies on: an add
// ("-n NAME ... -specid ID") appends a "*PageSize ID/NAME: ..." line to the
// model's function and media-information files; a delete changes nothing.
//
// Environment, for tests:
//   VT_STANDIN_STATUS  exit with this status and do nothing (default 0)
//   VT_STANDIN_LOG     append the argument vector to this file, one run a
//                      line, each argument in brackets
//   VT_STANDIN_PROBE   end each logged line with "{held}" or "{gone}":
//                      whether any of the four data files holds this text
//                      as the run starts
//   VT_STANDIN_CHATTER open the media-information file, then print this
//                      text on standard output, as a chatty tool would;
//                      with VT_STANDIN_CHATTER_ERR set, on standard error
//   VT_STANDIN_HOLD    once the run is logged, wait while this file is
//                      there; a SIGTERM, SIGHUP or SIGINT meanwhile, even
//                      one its caller ignores, is logged as "{signal N}"
//                      and ends the run with status 128 + N

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

const char kToolPrefix[] = "vtmediatoolcups_";

volatile sig_atomic_t g_stop = 0;

void note_stop(int signal_number) { g_stop = signal_number; }

bool append(const std::string& path, const std::string& text) {
  FILE* file = fopen(path.c_str(), "r+");
  if (file == nullptr)
    return false;
  // Keep the new line off an unterminated last line.
  bool need_newline = false;
  if (fseek(file, -1, SEEK_END) == 0)
    need_newline = fgetc(file) != '\n';
  fseek(file, 0, SEEK_END);
  if (need_newline)
    fputc('\n', file);
  fputs(text.c_str(), file);
  return fclose(file) == 0;
}

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The driver directory and model code, from the tool's own path.
bool locate(const char* self_path, std::string* inf, std::string* code) {
  std::string self = self_path;
  size_t at = self.rfind(kToolPrefix);
  size_t slash = self.rfind('/');
  if (at == std::string::npos || slash == std::string::npos)
    return false;
  *code = self.substr(at + strlen(kToolPrefix));
  *inf = self.substr(0, slash) + "/../inf/";
  return true;
}

// The log, open for appending, or null where there is none.
FILE* open_log() {
  const char* log = getenv("VT_STANDIN_LOG");
  return log == nullptr || *log == '\0' ? nullptr : fopen(log, "a");
}

void log_args(int argc, char** argv, bool located, const std::string& inf,
              const std::string& code) {
  FILE* file = open_log();
  if (file == nullptr)
    return;
  for (int i = 0; i < argc; ++i)
    fprintf(file, "%s[%s]", i ? " " : "", argv[i]);
  const char* probe = getenv("VT_STANDIN_PROBE");
  if (probe != nullptr && located) {
    std::string files = read_all(inf + "vt" + code + "func") +
        read_all(inf + "mediainf" + code) + read_all(inf + "vt" + code + "rc") +
        read_all(inf + "PrintArea");
    fprintf(file, " {%s}",
            files.find(probe) != std::string::npos ? "held" : "gone");
  }
  fputc('\n', file);
  fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  const char* hold = getenv("VT_STANDIN_HOLD");
  // Ready for the signal before the log says the run is there.
  if (hold != nullptr) {
    for (int signal_number : { SIGTERM, SIGHUP, SIGINT })
      signal(signal_number, note_stop);
  }
  std::string inf, code;
  bool located = locate(argv[0], &inf, &code);
  log_args(argc, argv, located, inf, code);
  // Given up after about 30 s, so that a stand-in a failed test left
  // behind does not wait on.
  for (int waited_ms = 0; hold != nullptr && g_stop == 0 &&
       access(hold, F_OK) == 0 && waited_ms < 30000; waited_ms += 10)
    usleep(10 * 1000);
  if (g_stop != 0) {
    if (FILE* file = open_log()) {
      fprintf(file, "{signal %d}\n", static_cast<int>(g_stop));
      fclose(file);
    }
    return 128 + g_stop;
  }
  const char* chatter = getenv("VT_STANDIN_CHATTER");
  if (chatter != nullptr && located) {
    // Where a standard descriptor was handed over closed, the file takes
    // its number and the text.
    FILE* file = fopen((inf + "mediainf" + code).c_str(), "a");
    fprintf(getenv("VT_STANDIN_CHATTER_ERR") ? stderr : stdout, "%s\n",
            chatter);
    fflush(stdout);
    if (file != nullptr)
      fclose(file);
  }
  const char* status = getenv("VT_STANDIN_STATUS");
  if (status != nullptr && atoi(status) != 0)
    return atoi(status);

  std::map<std::string, std::string> option;
  for (int i = 1; i + 1 < argc; i += 2)
    option[argv[i]] = argv[i + 1];
  std::string id = option["-specid"];
  if (id.empty())
    return 0;  // a delete: nothing on the spooler side to imitate

  if (!located)
    return 2;
  std::string line = "*PageSize " + id + "/" + option["-n"] +
      ": \"<</PageSize[" + option["-w"] + " " + option["-h"] +
      "]/ImagingBBox null>>setpagedevice\"\n";
  if (!append(inf + "vt" + code + "func", line) ||
      !append(inf + "mediainf" + code, line))
    return 3;
  return 0;
}
