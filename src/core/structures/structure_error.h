// Refusals of a structure's inputs: each names the worksheet field at fault, so the window
// and the batch mode point the user at it.
#pragma once

#include <stdexcept>
#include <string>

namespace rivulet {

class StructureInputError : public std::runtime_error {
 public:
  StructureInputError(std::string field, const std::string& message)
      : std::runtime_error(message), field_(std::move(field)) {}
  const std::string& Field() const { return field_; }

 private:
  std::string field_;
};

}  // namespace rivulet
