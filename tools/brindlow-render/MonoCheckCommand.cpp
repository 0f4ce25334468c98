#include "MonoCheckCommand.h"

#include "FoldDown.h"
#include "MonoCheck.h"
#include "MonoCheckReport.h"
#include "ResponsePlot.h"

#include <cstdio>
#include <iostream>

namespace
{
int Fail(const std::string& message)
{
  std::fprintf(stderr, "brindlow-render: %s\n", message.c_str());
  return kExitFailure;
}
} // namespace

int RunMonoCheck(PluginHost& host, const RenderOptions& options, double sampleRate, int connectedInputs,
                 const std::string& renderedPath)
{
  std::string error;
  ImpulseResponse response;
  if (!MeasureImpulseResponse(host, sampleRate, connectedInputs, options, response, error))
    return Fail("mono check: " + error);
  const MonoCheckResult result = AnalyseResponse(response);
  const MonoCheckSubject subject = DescribeSubject(host);

  RenderedFoldDown rendered;
  if (!renderedPath.empty()) {
    rendered.path = renderedPath;
    if (!MeasureFoldDown(renderedPath, rendered.stats, error)) return Fail("mono check: " + error);
  }
  const RenderedFoldDown* foldDown = renderedPath.empty() ? nullptr : &rendered;
  if (options.monoCheckJson)
    PrintMonoCheckJson(std::cout, subject, result, foldDown);
  else
    PrintMonoCheck(std::cout, subject, result, foldDown);
  std::cout.flush();

  if (!options.plotPath.empty() && !WriteResponsePlot(options.plotPath, subject, result, error))
    return Fail("cannot write the plot: " + error);
  return kExitOk;
}
