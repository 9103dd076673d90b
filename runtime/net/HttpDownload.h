// Fetching one resource with a plain HTTP/1.0 GET into a local file.
#pragma once

#include "runtime/values/RtString.h"

// Blocks until the transfer has ended. The body goes into localFile (its old
// contents replaced once the connection stands); the status line is not
// looked at, so an error page is stored like any other body. Returns 1 when
// the server ended the connection normally, 0 on any failure (a server that
// cannot be reached leaves localFile as it was).
double DownloadHttpFile(const RtString& server, const RtString& path, double port,
                        const RtString& localFile);
