// The null backend: a platform with no processes, no network and no windows.
// It is the template for a port (every entry point a backend provides, in
// one file) and what the portable unit tests link: pure logic needs no real
// backend. Every call fails the way its interface says a failure looks.

#include <set>

#include "base/CommandLine.h"
#include "platform/HttpClient.h"
#include "platform/MessageBoxHost.h"
#include "platform/Platform.h"
#include "platform/XmlReader.h"
#include "platform/null/NullPlatform.h"

namespace Platform {

// Processes and the shell.
std::size_t ReadModuleFileName(PathChar*, std::size_t) { return 0; }
CommandLine MakeCommandLine(const NativeString& applicationName, const ProductArguments& arguments)
{
#ifdef _WIN32
    return WindowsCommandLine::ProductCommandLine(applicationName, arguments);
#else
    CommandLine commandLine{applicationName};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    return commandLine;
#endif
}
ProcessHandle StartProcess(const NativeString&, const CommandLine&, const NativeString&) { return {}; }
void CloseProcess(ProcessHandle) {}
void OpenWithShell(const std::wstring& address) { NullPlatform::OpenedWithShell().push_back(address); }
void InitializeControls() {}
struct ServiceScope::Saved {};
ServiceScope::ServiceScope() = default;
ServiceScope::~ServiceScope() = default;

// The network: every call fails.
bool HttpClient::PostOrThrow(const HttpPost&, HttpReplySink&) { return false; }

struct XmlReader::State {};
XmlReader::XmlReader() = default;
XmlReader::~XmlReader() = default;
void XmlReader::Begin(SaxContentHandler&) {}
bool XmlReader::Feed(const char*, std::size_t) { return false; }
bool XmlReader::Finish() { return false; }

// Windows: none. Boxes would run in this process, and none can be created.
Gui* LoadGui() { return nullptr; }
std::int32_t RunMessageBox(const MessageBoxRequest& request, WindowHandle parent, ShowInProcess showInProcess)
{
    return showInProcess(request, parent);
}

// The imaging layer needs no start-up here; its tokens are counted, so that
// tests can see that every start-up is shut down.
// Made on first use: the process-wide image holder starts up during static
// initialisation.
static std::set<ImagingToken>& LiveTokens()
{
    static std::set<ImagingToken> live;
    return live;
}

std::int32_t ImagingStartup(ImagingToken& token)
{
    static ImagingToken lastToken = 0;
    LiveTokens().insert(token = ++lastToken);
    return 0;
}

void ImagingShutdown(ImagingToken token) { LiveTokens().erase(token); }

}  // namespace Platform

int NullPlatform::ImagingUsers() { return static_cast<int>(Platform::LiveTokens().size()); }

std::vector<std::wstring>& NullPlatform::OpenedWithShell()
{
    static std::vector<std::wstring> opened;
    return opened;
}
