// The server's object model: exactly the members the conversion run calls.
//   Application: Visible (get, put), Documents (get), ActiveDocument (get), Quit (method)
//   Documents:   Open (method)
//   Document:    SaveAs (method)
// Children hold their application, so "Application released" is journaled only when every
// reference the client took has been released.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/fakes/fake_word_dispatch.h"

struct OpenDocument {
  std::wstring path;
  std::string bytes; // read when opened, written after the header by SaveAs
};

class FakeApplication : public DispatchObject {
public:
  FakeApplication();
  ~FakeApplication() override;

  bool Quitted() const { return quitted_; }
  // Opens `path` as the new active document; fails the way the server reports failures.
  HRESULT OpenDocumentAt(const std::wstring &path, EXCEPINFO *excep, std::size_t &index);
  const OpenDocument &Document(std::size_t index) const { return documents_[index]; }

protected:
  HRESULT Perform(DISPID id, WORD flags, std::span<VARIANT *const> args, VARIANT *result,
                  EXCEPINFO *excep, UINT *argError) override;
  bool Connected() const override { return !quitted_; }

private:
  bool visible_ = false;
  bool quitted_ = false;
  std::vector<OpenDocument> documents_;
  std::size_t active_ = 0; // valid while documents_ is not empty
};

// Returns `object` in `result` (if the caller wants it) and drops the creator's reference.
void ReturnObject(DispatchObject *object, VARIANT *result);
