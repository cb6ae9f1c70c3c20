// The entities of a wiring note while it is dragged, and the block it becomes.
#include "annotation/note_geometry.h"

#include <ApiComn.h>
#include <Drag.h>
#include <RootComn.h>
#include <Veltra.h>
#include <VuRida.h>
#include <acgi.h>
#include <acutads.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>
#include <gemat3d.h>

#include <cmath>
#include <memory>

#include "annotation/annotation_block.h"
#include "annotation/annotation_settings.h"
#include "annotation/draw_note.h"
#include "app/harnex_module.h"
#include "attributes/element_class.h"

namespace {

constexpr wchar_t kNotePrompt[] = L"注記記入";
constexpr wchar_t kNoHostFunction[] = L"\nERROR:座標計算関数が実行できません.\n";
// The read buffer of the note drawing's settings.
constexpr DWORD kSettingsBuffer = 512;
// A rest of the snap within this many degrees of half a step counts as exactly half.
constexpr double kHalfStepTolerance = 1e-9;

// Tags of the box's entities: how many box widths each moves when the box changes sides.
constexpr wchar_t kTagNear[] = L"0";
constexpr wchar_t kTagBox[] = L"1";
constexpr wchar_t kTagFar[] = L"2";

// The angle from `from` to `to` in degrees, 0 <= angle < 360, in the XY plane.
double AngleDegrees(const AcGePoint3d& from, const AcGePoint3d& to) {
  double angle = std::atan2(to.y - from.y, to.x - from.x) * 180.0 / kPi;
  if (angle < 0) angle += 360.0;
  if (angle >= 360.0) angle -= 360.0;
  return angle;
}

double Below360(double angle) {
  return angle >= 360.0 ? angle - 360.0 : angle;
}

AcDbLine* LineAt(const CDrag& drag, int index) {
  return AcDbLine::cast(drag.At(index));
}

// A new line of the note, with the drawing's defaults until the note is committed.
AcDbLine* NewLine(const AcGePoint3d& start, const AcGePoint3d& end) {
  auto* line = new AcDbLine(start, end);
  line->setDatabaseDefaults();
  return line;
}

void SetByLayer(AcDbEntity* entity) {
  entity->setColorIndex(256);
  entity->setLinetype(L"ByLayer");
  entity->setLineWeight(AcDb::kLnWtByLayer);
}

// Index of the first rule: after the mark, the tick and the leader of a line note, after the
// leader alone of an origin note.
int FirstRuleIndex(const CDrawNote& note) {
  return note.atOrigin ? 1 : 3;
}

int LeaderIndex(const CDrawNote& note) {
  return FirstRuleIndex(note) - 1;
}

bool PrepareLineNote(CDrawNote& note, CDrag& drag) {
  AcGePoint3dArray points;
  if (VuRida_GetConnectPoint(note.element, points, RQCONECT_LAYER, nullptr) != 0 ||
      points.length() != 2) {
    return false;
  }
  const AcGePoint3d q0 = points[0];
  const AcGePoint3d q1 = points[1];
  auto perpendicular = reinterpret_cast<RQAddinPerpendicularProc>(
      ApiComn_GetProcAdrs(HostModule, "RQAddin_perpendicular"));
  if (perpendicular == nullptr) {
    acutPrintf(kNoHostFunction);
    return false;
  }
  AcGePoint3d foot;
  if (perpendicular(q0, q1, note.pickPoint, foot) != 0) return false;
  note.foot = foot;

  const double s = note.scale;
  const double routeAngle = AngleDegrees(q0, q1);
  // A route drawn the other way round gets the same mark: the angle is folded into the half
  // turn that faces right.
  double markAngle = routeAngle;
  if (markAngle > 90.0 && markAngle <= 270.0) markAngle -= 180.0;
  AcDbEntity* mark = nullptr;
  if (RootComn_CreateEllipse(mark, foot, note.ellipseMajor * s, note.ellipseMinor * s,
                             ApiComn_ConvToRadian(markAngle + 90.0), 0.0, kPi) != 0) {
    return false;
  }
  mark->setDatabaseDefaults();

  const double across = Below360(routeAngle + 90.0);
  AcGePoint3d t0, t1;
  RootComn_PointRotation2(foot, s, across, t0);
  RootComn_PointRotation2(foot, s, Below360(across + 180.0), t1);
  const AcGePoint3d leaderStart = t0.y > t1.y ? t0 : t1;

  drag.Append(mark, nullptr, -1);
  drag.Append(NewLine(t0, t1), nullptr, -1);
  drag.Append(NewLine(leaderStart, note.pickPoint), nullptr, -1);
  return true;
}

// A text line of the box: left and baseline alignment at `at`.
AcDbText* NewNoteText(const CDrawNote& note, const CString& text, const AcGePoint3d& at) {
  auto* entity = new AcDbText;
  entity->setDatabaseDefaults();
  if (AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase()) {
    entity->setTextStyle(db->textstyle());
  }
  entity->setTextString(text);
  entity->setHeight(note.textHeight * note.scale);
  entity->setWidthFactor(note.widthFactor);
  entity->setHorizontalMode(AcDb::kTextLeft);
  entity->setVerticalMode(AcDb::kTextBase);
  entity->setPosition(at);
  entity->setAlignmentPoint(at);
  entity->setLayer(RQANNO_LAYER);
  SetByLayer(entity);
  return entity;
}

}  // namespace

void ReadNoteSettings(const CString& path, CDrawNote& note) {
  auto number = [&path](const SettingKey& key) {
    return ReadSettingNumber(path, kNoteSettingsSection, key, kSettingsBuffer);
  };
  note.textHeight = number(kNoteTextHeight);
  note.textWidth = number(kNoteTextWidth);
  note.lineGap = number(kNoteLineGap);
  note.textOffset = number(kNoteTextOffset);
  note.correction = ReadSettingText(path, kNoteSettingsSection, kNoteAngleCorrection,
                                    kSettingsBuffer) == kSettingOn;
  note.correctionAngle = number(kNoteCorrectionAngle);
  note.ellipseMajor = number(kNoteEllipseMajor);
  note.ellipseMinor = number(kNoteEllipseMinor);
  note.widthFactor = note.textHeight > 0 ? note.textWidth / note.textHeight : 1.0;
}

AcGePoint3d SnapLeader(const AcGePoint3d& q, const AcGePoint3d& m, double step) {
  double angle = AngleDegrees(q, m);
  if (angle != 0.0 && step > 0.0) {
    double k = std::trunc(angle / step);
    if (angle - k * step > step / 2.0 + kHalfStepTolerance) k += 1.0;
    angle = k * step;
  }
  const double length = std::hypot(m.x - q.x, m.y - q.y);
  const double radians = angle * kPi / 180.0;
  return AcGePoint3d(q.x + length * std::cos(radians), q.y + length * std::sin(radians), m.z);
}

bool PrepareNote(CDrawNote& note, CDrag& drag, const CString& settingsPath) {
  VuRida_createLayer(RQANNO_LAYER, nullptr);
  VuRida_createLayer(RQTABLE_LAYER, nullptr);
  ReadNoteSettings(settingsPath, note);
  note.noteState = kNoteLeaderFree;
  note.side = 1;
  note.boxWidth = 0;
  note.atOrigin = EtatIsRoute(note.element);
  if (!note.atOrigin) return PrepareLineNote(note, drag);
  AcGePoint3d origin;
  if (RootComn_GetOriginPoint(note.element, origin) != 0) return false;
  note.foot = origin;
  drag.Append(NewLine(origin, origin), nullptr, -1);
  return true;
}

int StartNote(CDrawNote& note) {
  CDrag drag(0);
  if (!PrepareNote(note, drag, SettingsFilePath(ConfigIniPath))) return RTERROR;
  drag.DistEnabled(0, 15.0, 1, 10.0, 10.0, 1, nullptr, 1);
  return drag.Dynamic(&note, kNotePrompt, true, nullptr, 0.0, 1.0, 1.0, 1.0);
}

bool UpdateLeader(CDrawNote& note, CDrag& drag, const AcGePoint3d& cursor) {
  AcDbLine* leader = LineAt(drag, drag.Length() - 1);
  if (leader == nullptr) return false;
  AcGePoint3d start = leader->startPoint();
  if (!note.atOrigin) {
    AcDbLine* tick = LineAt(drag, drag.Length() - 2);
    if (tick == nullptr) return false;
    const AcGePoint3d t0 = tick->startPoint();
    const AcGePoint3d t1 = tick->endPoint();
    start = t1.distanceTo(cursor) < t0.distanceTo(cursor) ? t1 : t0;
  }
  const AcGePoint3d end =
      note.correction ? SnapLeader(start, cursor, note.correctionAngle) : cursor;
  leader->setStartPoint(start);
  leader->setEndPoint(end);
  return true;
}

double MeasureNoteText(const CString& text, double height, double widthFactor) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcGiTextStyle style;
  if (db != nullptr && fromAcDbTextStyle(style, db->textstyle()) == Acad::eOk) {
    style.setTextSize(height);
    style.setXScale(widthFactor);
    return style.extents(text, Adesk::kFalse, -1, Adesk::kTrue).x;
  }
  // Without the style, the extents of the text as an entity.
  AcDbText entity;
  entity.setDatabaseDefaults(db);
  entity.setTextString(text);
  entity.setHeight(height);
  entity.setWidthFactor(widthFactor);
  AcGePoint3d low, high;
  if (ApiComn_GetEntityRang(&entity, low, high) != 0) return 0;
  return high.x - low.x;
}

bool LayOutNoteBox(CDrawNote& note, CDrag& drag, const AcGePoint3d& leaderEnd) {
  if (LineAt(drag, LeaderIndex(note)) == nullptr) return false;
  note.leaderEnd = leaderEnd;
  note.noteState = kNoteLeaderFixed;
  note.side = 1;
  const double s = note.scale;
  const double h = note.textHeight * s;
  const double p = (note.textHeight + note.lineGap) * s;
  const double o = note.textOffset * s;
  const int n = static_cast<int>(note.lines.GetSize());
  double width = 0;
  for (int i = 0; i < n; ++i) {
    const double w = MeasureNoteText(note.lines[i] + L"W", h, note.widthFactor) + o;
    if (w > width) width = w;
  }
  note.boxWidth = width;
  const AcGePoint3d& e = leaderEnd;
  for (int k = 0; k <= n; ++k) {
    drag.Append(
        NewLine(AcGePoint3d(e.x, e.y + k * p, e.z), AcGePoint3d(e.x + width, e.y + k * p, e.z)),
        kTagBox, -1);
  }
  for (int i = 0; i < n; ++i) {
    const AcGePoint3d at(e.x + o, e.y + (n - 1 - i) * p + s, e.z);
    drag.Append(NewNoteText(note, note.lines[i], at), kTagBox, -1);
  }
  drag.Append(
      NewLine(AcGePoint3d(e.x + width, e.y, e.z), AcGePoint3d(e.x + width, e.y + n * p, e.z)),
      kTagFar, -1);
  drag.Append(NewLine(AcGePoint3d(e.x, e.y, e.z), AcGePoint3d(e.x, e.y + n * p, e.z)), kTagNear,
              -1);
  return true;
}

bool FlipNoteSide(CDrawNote& note, CDrag& drag, const AcGePoint3d& cursor) {
  const int first = FirstRuleIndex(note);
  const int last = drag.Length() - 1;
  if (last <= first) return false;
  const int side = cursor.x >= note.leaderEnd.x ? 1 : -1;
  if (side == note.side) return true;
  bool found = true;
  for (int i = first; i < last; ++i) {
    CString tag;
    AcDbEntity* entity = drag.At(i, nullptr, &tag);
    if (entity == nullptr) {
      found = false;
      continue;
    }
    const double times = ApiComn_atof(tag);
    if (times <= 0) continue;
    entity->transformBy(
        AcGeMatrix3d::translation(AcGeVector3d(times * note.boxWidth * side, 0, 0)));
  }
  note.side = side;
  return found;
}

bool CommitNote(CDrawNote& note, CDrag& drag) {
  std::unique_ptr<AcDbBlockReference> reference(MakeAnnotationBlock(note.foot));
  if (reference == nullptr) return false;
  const AcDbObjectId blockId = reference->blockTableRecord();
  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, blockId, AcDb::kForWrite) != Acad::eOk) {
    // Nothing may stay of a note that could not be written, not even its empty definition: a
    // refused open may be a passing one, so the discard tries its own.
    DiscardAnnotationBlock(blockId);
    return false;
  }
  const AcGeMatrix3d toBase = AcGeMatrix3d::translation(AcGePoint3d::kOrigin - note.foot);
  for (int i = 0; i < drag.Length(); ++i) {
    AcDbEntity* entity = drag.At(i);
    if (entity == nullptr) continue;
    entity->setLayer(AcDbText::cast(entity) ? RQANNO_LAYER : RQTABLE_LAYER);
    entity->transformBy(toBase);
    SetByLayer(entity);
    block->appendAcDbEntity(entity);
  }
  reference->setLayer(RQTABLE_LAYER);
  block->close();
  // The entities now belong to the definition: the jig only ends its opens.
  drag.RemoveAll(1);
  AcDbObjectId id;
  if (VuRida_addEntity(reference.get(), id) != 0) {
    // A definition that nothing shows would stay in the drawing unseen.
    DiscardAnnotationBlock(blockId);
    return false;
  }
  reference.release()->close();
  return true;
}
