// The line protocol between the server and its LibreOffice bridge (bridge.py): one JSON object
// a line each way. Requests are written as pure ASCII (other characters as \u escapes), so the
// pipe's encoding never matters.
#pragma once

#include <string>

std::string OpenRequest(const std::wstring &path);
std::string SaveRequest(long id, const std::wstring &path, const std::string &filter,
                        const std::string &post);
std::string CloseRequest(long id);
std::string QuitRequest();

struct BridgeReply {
  bool ok = false;
  long id = 0;
  std::string error;   // the failure's kind: "missing", "unreadable", "unwritable", ...
  std::wstring detail; // what the bridge said about it
};

// Reads one reply line; false when it is not a JSON object of the expected shape.
bool ParseReply(const std::string &line, BridgeReply &reply);
