// The tool's verbs. Each takes its parsed options, writes to the
// environment's streams and returns the exit code.
#pragma once

#include <string>
#include <vector>

#include "SettingsJson.h"
#include "ToolEnvironment.h"

namespace CLI {
class App;
}

namespace qv::cli {

struct ShowOptions {
    std::string file;
    bool json = false;
};
struct DiffOptions {
    std::string first, second;
    bool json = false;
};
struct ExportOptions {
    std::string file;
    std::string output;  // empty or "-": standard output
};
struct ImportOptions {
    std::string json;
    std::string output;
    std::string base;  // empty: the factory settings
};
struct CheckOptions {
    std::vector<std::string> files;
    bool json = false;
};
struct FactoryOptions {
    std::string output;
};
struct PrintersOptions {
    bool json = false;
};
struct SendOptions {
    std::string file;
    std::vector<std::string> printers;
    bool all = false;
    std::vector<std::string> hosts;
    std::vector<std::string> hostLists;  // files of HOST[:PORT] lines; "-": standard input
    bool dryRun = false;
    std::string log;
    std::string journal;  // a site folder for this run's journal records
    int timeoutSeconds = 10;
    int waitSeconds = 10;  // how long spooler jobs are followed; 0: not at all
    int jobs = 8;          // targets sent to at once
    bool json = false;
};

int Show(const ShowOptions& options, ToolEnvironment& env);
// What show prints for a block read from `file` (a name, or null).
void ShowSettings(const SettingsBlock& stored, const Json& file, bool json, ToolEnvironment& env);
int Diff(const DiffOptions& options, ToolEnvironment& env);
int Check(const CheckOptions& options, ToolEnvironment& env);
int Factory(const FactoryOptions& options, ToolEnvironment& env);
int Export(const ExportOptions& options, ToolEnvironment& env);
int Import(const ImportOptions& options, ToolEnvironment& env);
int Printers(const PrintersOptions& options, ToolEnvironment& env);
int Send(const SendOptions& options, ToolEnvironment& env);

struct HistoryOptions {
    enum class Action { List, Show, Export };
    Action action = Action::List;
    std::string printer;  // empty: every printer
    bool allPrinters = false;
    bool json = false;
    std::string journal;  // a site folder whose journals are read instead of the user's
    int number = 0;       // show and export: 1 is the newest record
    std::string output;   // export
};
void AddHistoryOptions(CLI::App* verb, HistoryOptions& options);
int History(const HistoryOptions& options, ToolEnvironment& env);

}  // namespace qv::cli
