// The open drawing of a session: its database, the current document around it, the pick-first
// set, the command line's input queue and the left-open check.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

class AcDbDatabase;

namespace host {

class DrawingDocument {
 public:
  // A new, empty drawing made the current document and working database.
  DrawingDocument();
  // A drawing read from a file (`name` is what the document reports as its file name).
  DrawingDocument(std::unique_ptr<AcDbDatabase> database, const std::wstring& name);
  // Closes the document; the database goes with it.
  ~DrawingDocument();
  DrawingDocument(const DrawingDocument&) = delete;
  DrawingDocument& operator=(const DrawingDocument&) = delete;

  AcDbDatabase* database() const { return database_.get(); }

  // Makes the entities with these drawing handles the pick-first set of the next command.
  // Handles that name no entity are left out and listed in *missing.
  void SetPickfirst(const std::vector<uint64_t>& handles, std::vector<uint64_t>* missing);
  // Makes what a rectangle dragged at the command prompt selects the pick-first set: the
  // entities of model space wholly inside the rectangle with opposite corners (x1, y1) and
  // (x2, y2), with `crossing` also those that cross or touch its edge, as the editor's own
  // window and crossing selections find them (platform::acad::InRectangle). When nothing is
  // selected, the pick-first set is cleared.
  void SetPickfirstInRectangle(double x1, double y1, double x2, double y2, bool crossing);
  void ClearPickfirst();

  // Posted window messages and due timers, as a message loop does when idle.
  void PumpWindowMessages();
  // The oldest text that an application sent to the command line, if any.
  bool TakeQueuedInput(std::wstring* text);

  // Objects open now that were not reported before, one description each
  // ("AcDbLine 1F left open for write").
  std::vector<std::wstring> TakeLeftOpen();

  // Around one window-message handler: EndHandler gives the objects that the handler opened and
  // left open (described as TakeLeftOpen does), each once. Pairs may nest (a modal dialog's
  // handlers inside a click): each handler answers for what it opened itself.
  void BeginHandler();
  std::vector<std::wstring> EndHandler();

 private:
  std::unique_ptr<AcDbDatabase> database_;
  std::set<std::wstring> reported_;
  std::vector<std::set<std::wstring>> open_before_;  // per running handler
};

}  // namespace host
