#pragma once

struct CommandLine;

// quillet --check-endpoints [NAME]: the reachability check without the window.
namespace EndpointBatch {

// Prints one line per endpoint (site, endpoint, result); 0 when every one is reachable, 3 when
// one is not, 2 when NAME is not a listed program.
int check(const CommandLine& line);

} // namespace EndpointBatch
