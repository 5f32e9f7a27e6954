// The form-data reader: builds a form's components from their text description.
//
// The format is described in formdata.md beside this file. Components are created through the
// class registry, properties are set through the published-property registry, binary properties
// go to TComponent::ReadBinaryProperty, and Loaded runs on every component once the whole text
// has been read.
#pragma once

#include "framework/core/classes.h"
#include "framework/core/streams.h"

#include <string>

// Malformed form data. The message names the line and the property (or the object) at fault.
class EFormDataError : public EReadError {
public:
  EFormDataError(int line, std::string property, const std::string &problem);
  int Line() const { return line_; }
  // Component name and property path, "Button1.Font.Height"; the object for errors of a header.
  const std::string &Property() const { return property_; }

private:
  int line_;
  std::string property_;
};

class TFormReader {
public:
  // Reads the text into root, an existing component of the class the top object names (or of
  // a class derived from it). Nested objects become components owned by root. On an error the
  // components created so far are freed and root's component fields are cleared again.
  static void ReadComponent(const std::string &text, TComponent *root);
  // Creates the top object by its registered class, owned by owner, and reads it; on an error
  // nothing is left behind.
  static TComponent *CreateComponent(const std::string &text, TComponent *owner);

private:
  class Reader;
};
