// Command dispatch, usage and error reporting of tarvik-cli.
#include "tools/cli/RunCli.h"

#include <exception>
#include <string>

#include "model/FileErrors.h"
#include "model/TextConvert.h"
#include "tools/cli/CliText.h"
#include "tools/cli/ExportCommand.h"
#include "tools/cli/FindCommand.h"
#include "tools/cli/InfoCommand.h"
#include "tools/cli/ResaveCommand.h"

namespace {

// The message of `error`. Message() converts the path to UTF-16, which throws for a byte path
// that is not UTF-8; the message then names the path with its bad bytes replaced.
std::string MessageUtf8(const CFileException& error) {
    try {
        return Utf16ToUtf8(error.Message());
    } catch (const std::exception&) {
        const std::filesystem::path readable(Utf8ToUtf16(PathToUtf8(error.Path())));
        return Utf16ToUtf8(FileErrorText(error.Kind(), readable));
    }
}

int UsageError(const std::string& problem, std::ostream& err) {
    err << "tarvik-cli: " << problem << "\n\n" << CliUsage();
    return kExitUsage;
}

}  // namespace

const char* CliUsage() {
    return "Usage: tarvik-cli COMMAND ARGUMENTS\n"
           "\n"
           "Commands:\n"
           "  info FILE        show the header, version and targets of a target-list file\n"
           "  export FILE DIR  write each target's pictures into DIR (created when missing) as\n"
           "                   <order>-target.bmp and <order>-area.bmp; targets sharing an order\n"
           "                   get <order>-pos<list position>-...; missing pictures are skipped\n"
           "  resave IN OUT    read IN and write it to OUT; OUT is replaced only when complete\n"
           "  find LIST SCREEN [--all] [--explain] [--repeat N] [--origin X,Y]\n"
           "                   the target a play step would click on SCREEN (a BMP or PNG picture\n"
           "                   of the screen): order, name, top-left, centre and click point, or\n"
           "                   \"Not found\" with exit status 3; --all first shows every target's\n"
           "                   own result, --explain does so and says for each target not found\n"
           "                   where it comes nearest and how many pixels differ there,\n"
           "                   --repeat N times N searches and prints the median, --origin X,Y\n"
           "                   puts SCREEN's top-left pixel at desktop point X,Y (negative on a\n"
           "                   monitor left of or above the primary one; default 0,0), so that\n"
           "                   every point shown is a desktop point\n"
           "  --help           show this text\n"
           "\n"
           "Exit status: 0 success, 1 usage error, 2 file error, 3 other failure.\n";
}

int RunCli(const std::vector<std::filesystem::path>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        return UsageError("no command given", err);
    }
    // "--help" anywhere, as in "tarvik-cli export --help", asks for the usage.
    for (const std::filesystem::path& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << CliUsage();
            return kExitSuccess;
        }
    }
    const std::string command = PathToUtf8(args[0]);
    const size_t operands = args.size() - 1;
    try {
        if (command == "info") {
            if (operands != 1) {
                return UsageError("info takes 1 argument: FILE", err);
            }
            RunInfo(args[1], out);
        } else if (command == "export") {
            if (operands != 2) {
                return UsageError("export takes 2 arguments: FILE DIR", err);
            }
            RunExport(args[1], args[2], out);
        } else if (command == "resave") {
            if (operands != 2) {
                return UsageError("resave takes 2 arguments: IN OUT", err);
            }
            RunResave(args[1], args[2], out);
        } else if (command == "find") {
            return RunFind(args, out, err);
        } else {
            return UsageError("unknown command " + QuotedText(Utf8ToUtf16(command)), err);
        }
    } catch (const CFileException& error) {
        out.flush();
        err << "tarvik-cli: " << PathToUtf8(error.Path()) << ": " << MessageUtf8(error) << '\n';
        return kExitFileError;
    } catch (const std::exception& error) {
        out.flush();
        err << "tarvik-cli: " << error.what() << '\n';
        return kExitFailure;
    }
    return kExitSuccess;
}
