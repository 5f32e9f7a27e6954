// The object model that automation clients of Word use to convert documents: Application,
// its Documents and each Document, backed by one LibreOffice per Application.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "wordserver/autoobject.h"
#include "wordserver/officebridge.h"
#include "wordserver/serverwindow.h"

class WordApplication;

class WordDocument : public AutoObject {
public:
  WordDocument(WordApplication *application, long bridgeId, std::wstring fullName);
  long BridgeId() const { return bridgeId_; }
  const std::wstring &FullName() const { return fullName_; }
  std::wstring Name() const;
  // The application is gone (Quit, or the last client reference dropped): calls fail.
  void Orphan() { application_ = nullptr; }

protected:
  HRESULT Perform(DISPID id, WORD flags, const AutoArgs &args, VARIANT *result,
                  EXCEPINFO *excep, UINT *argError) override;

private:
  HRESULT SaveAs(const AutoArgs &args, EXCEPINFO *excep, UINT *argError);

  WordApplication *application_;
  long bridgeId_;
  std::wstring fullName_;
};

class WordApplication : public AutoObject {
public:
  WordApplication();
  ~WordApplication() override;

  // Called as the server process ends for whatever reason: LibreOffice goes with it.
  void Shutdown();

  // For the Documents collection and the documents.
  HRESULT Open(const AutoArgs &args, VARIANT *result, EXCEPINFO *excep, UINT *argError);
  HRESULT Save(WordDocument &document, const std::wstring &path, long format,
               EXCEPINFO *excep);
  void Close(WordDocument &document);
  const std::vector<WordDocument *> &OpenDocuments() const { return documents_; }
  bool HasQuit() const { return quit_; }

protected:
  HRESULT Perform(DISPID id, WORD flags, const AutoArgs &args, VARIANT *result,
                  EXCEPINFO *excep, UINT *argError) override;

private:
  void ShowDocuments();

  OfficeBridge bridge_;
  ServerWindow window_;
  std::vector<WordDocument *> documents_; // each holds one reference of ours
  bool quit_ = false;
};

// Called when the Application has quit (with null) or is being destroyed (with itself), so
// that the process can end.
extern void (*g_onApplicationGone)(WordApplication *destroyed);
