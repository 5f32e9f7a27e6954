// The LibreOffice side of one Application object: the bridge program (bridge.py, beside this
// executable) started on first use, spoken to over a loopback socket. Under Wine it
// runs as a Unix program with the system's python3-uno; on Windows with the Python that
// LibreOffice ships, found through LibreOffice's registry entries.
#pragma once

#include <windows.h>

#include <string>

#include "wordserver/bridgeprotocol.h"

class OfficeBridge {
public:
  OfficeBridge() = default;
  OfficeBridge(const OfficeBridge &) = delete;
  OfficeBridge &operator=(const OfficeBridge &) = delete;
  ~OfficeBridge() { Stop(); }

  // Sends one request line and reads its reply, starting the bridge first if need be. A bridge
  // that cannot be started or that stops answering gives a reply with error "office" and a
  // detail that says why.
  BridgeReply Call(const std::string &request);
  // Ends LibreOffice and the bridge: asks politely, then closes the pipes (the bridge ends on
  // the end of its input, and LibreOffice with it).
  void Stop();
  bool Running() const { return socket_ != kNoSocket; }

  // The path as the bridge's side spells it (a Unix path under Wine).
  static std::wstring BridgePath(const std::wstring &windowsPath);

private:
  bool Start(std::wstring &why);
  bool ReadLine(std::string &line);
  bool Send(const std::string &text);

  // A Winsock SOCKET (kept as its integer type, so that users need not include Winsock).
  static constexpr UINT_PTR kNoSocket = ~UINT_PTR{0};
  UINT_PTR socket_ = kNoSocket;
  HANDLE process_ = nullptr;
  std::string pending_;
};

// Whether this process runs under Wine.
bool RunningUnderWine();
