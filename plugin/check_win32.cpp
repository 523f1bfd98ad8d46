#include "plugin/check_win32.h"

#include "fileaccess/file_system_win32.h"
#include "fileaccess/native_folders_win32.h"
#include "fileaccess/share_connection_win32.h"
#include "plugin/check_run.h"
#include "registry/month_names.h"
#include "registry/registry_win32.h"
#include "support/automation_win32.h"
#include "support/debug_trace_win32.h"
#include "support/variant_text_win32.h"

namespace quarnel {

HostCheckResult RunCheckForHost(const VARIANT& parameterString) {
  SystemDebuggerOutput debuggerOutput;
  ListenedTraceSink trace(debuggerOutput);
  SystemFileSystem systemFiles;
  SystemFullPaths fullPaths;
  LongPathFileSystem longPaths(systemFiles, fullPaths);
  NativeFolderFileSystem files(longPaths, fullPaths, ThisProcessFolderFacts());
  SystemNetworkApi network;
  SystemRegistry registry;
  SystemAutomation automation;
  SystemClock clock;
  CheckMachine machine{trace, files, network, registry, ModuleMonthNames(), automation, clock};

  const CheckOutcome outcome =
      RunCheck([&parameterString] { return VariantText(parameterString); }, machine);

  HostCheckResult result;
  result.status = outcome.passed ? VARIANT_TRUE : VARIANT_FALSE;
  result.result = outcome.result;
  result.reading = outcome.reading;
  return result;
}

}  // namespace quarnel
