// An outside program built against the installed package, as a host is: it
// names every exported class, function, constant and static data member of
// the public headers, so a missing export fails the link, and takes the
// address of each constant and static member, so each is an object the
// program can bind to. The free functions, constants and static members are
// listed from the installed headers (exported_names.cmake); the classes'
// members are named below.
#include <FolianUtils/FolianUtils.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The address of every exported free function at its declared type.
using FolianFunction = void (*)();
struct FolianExport {
  FolianFunction (*address)();
  const char* name;
};
#include "exported_functions.inc"

namespace {

using velmar::utils::velmar_ustring;

int g_failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "FAILED: %s\n", what);
    ++g_failures;
  }
}

template <typename T>
void CheckAddress(const T* address, const char* name) {
  Check(address != nullptr, name);
}

// Reaches the protected members the way a derived host class can.
class PreferencesProbe : public folian::Preferences {
 public:
  PreferencesProbe() = default;
  explicit PreferencesProbe(int version) : folian::Preferences(version) {}
  explicit PreferencesProbe(const folian::Preferences& other) : folian::Preferences(other) {}
  void AssignFrom(const folian::Preferences& other) { folian::Preferences::operator=(other); }
};

// What a constant holds besides its address: a preference key is built at
// load and never empty; a notification's name is its own qualified name.
void CheckValue(const velmar_ustring& key, const char* name) { Check(!key.empty(), name); }
void CheckValue(const char* notification, const char* name) {
  Check(std::strcmp(notification, name) == 0, name);
}
template <typename T>
void CheckValue(const T&, const char*) {}

// Every constant and static data member of the installed headers, protected
// ones reached the way a derived host class can.
void CheckConstantsAndStaticMembers() {
#define FOLIAN_DATA(name)     \
  CheckAddress(&name, #name); \
  CheckValue(name, #name);
#define FOLIAN_PROTECTED_DATA(type, name)            \
  {                                                  \
    struct Reach : type {                            \
      static const void* Address() { return &name; } \
    };                                               \
    CheckAddress(Reach::Address(), #name);           \
  }
#include "exported_data.inc"
#undef FOLIAN_DATA
#undef FOLIAN_PROTECTED_DATA
  Check(folian::Preferences::kDraftMode != folian::Preferences::kUseSkia, "keys differ");

  const auto npos = &velmar_ustring::npos;
  CheckAddress(npos, "velmar_ustring::npos");
  Check(*npos == static_cast<velmar_ustring::size_type>(-1), "npos has all bits set");
  // Bound to a reference, as std::min does.
  Check(std::min(velmar_ustring("abc").Find(velmar_ustring("z"), 0), velmar_ustring::npos) ==
            velmar_ustring::npos,
        "std::min with npos");
}

// Texts the runtime gives, the same on every platform.
void CheckRuntimeTexts() {
  velmar_ustring s;
  s.Format(VELMAR_U("%.2e|%g|%G|%hhd"), 1234.5, 1e-5, 1e-10, 300);
  Check(s == "1.23e+03|1e-05|1E-10|44", "Format writes the Universal CRT's text");
  try {
    velmar_ustring grown("ab");
    grown.resize(grown.str().max_size() + 1);
    Check(false, "growth past the maximum throws");
  } catch (const std::length_error& e) {
    Check(std::strcmp(e.what(), "string too long") == 0, "length error says \"string too long\"");
  }
  try {
    (void)velmar_ustring("ab").at(5);
    Check(false, "at past the end throws");
  } catch (const std::out_of_range& e) {
    Check(std::strcmp(e.what(), "invalid string position") == 0,
          "range error says \"invalid string position\"");
  }
}

class ObserverForLink : public velmar::utils::NotificationObserver {
 public:
  void OnNotification(const std::string&, const void*) override {}
};

}  // namespace

// Names every exported function and member. It is linked, so each name must
// resolve against the installed libraries, but it only runs on request: it
// would touch the user's preference and support folders.
void NameEveryFunction() {
  using namespace velmar::utils;
  using velmar::units::AngleInfo;
  using velmar::units::LengthInfo;
  using velmar::units::UnitsInfo;

  velmar_ustring s("text");
  const std::string narrow("text");
  velmar_ustring a(narrow), b(s.c_str()), c(s.c_str(), 2), d(3, s[0]);
  velmar_ustring e(velmar_ustring::string_type(s.str()));
  a = "x";
  a = b;
  a = std::move(b);
  a.AssignFromMultiByte("x");
  (void)a.at(0);
  a.erase(0, 1);
  a.resize(2);
  a += s;
  a += s[0];
  a += s.c_str();
  a.append(s.c_str(), 1);
  (void)(a == "x");
  (void)a.Compare(s);
  (void)a.CompareNoCase(s);
  (void)a.Find(s, 0);
  (void)a.Find(s[0], 0);
  (void)a.ReverseFind(s[0]);
  (void)a.Left(1);
  (void)a.Right(1);
  (void)a.Mid(1);
  (void)a.Mid(velmar_ustring::size_type{0}, 1);
  (void)a.Replace(s, c);
  a.MakeLower();
  a.TrimLeft();
  a.TrimRight();
  a.Trim();
  (void)a.Trimmed();
  (void)a.Format(s, 1);
  (void)a.ToUTF8();
  (void)a.ToInt();
  (void)(a + "x");
  (void)(a + s);
  std::ostringstream stream;
  stream << velmar_ustring::FromUTF8(std::string_view("\xC3\xA9!", 2));
  Check(stream.str() == "\xC3\xA9", "FromUTF8 and operator<< carry UTF-8 through");
  double value = 0.0;
  (void)std::hash<velmar_ustring>()(s);

  CColor color(0.5, 0.5, 0.5, 1.0);
  (void)CColor::FromPacked(color.Packed());

  LengthInfo length;
  LengthInfo length_copy(length);
  length_copy = length;
  delete length.LengthInfo::Clone();
  (void)length.LengthInfo::GetInfoKind();
  (void)length.UnitsInfo::GetFormat();
  length.UnitsInfo::SetFormat(UnitsInfo::kDecimal, false);
  length.UnitsInfo::SetFormat(UnitsInfo::kDecimal);
  (void)length.LengthInfo::GetUnits();
  length.UnitsInfo::SetUnits(UnitsInfo::kInches, false);
  length.UnitsInfo::SetUnits(UnitsInfo::kInches);
  (void)length.LengthInfo::GetConversionFactor(UnitsInfo::kFeet);
  (void)length.LengthInfo::GetConversionFactor();
  (void)length.LengthInfo::GetPrecisionForValue(0.5);
  (void)length.LengthInfo::GetMaxPrecision();
  (void)length.UnitsInfo::RoundToPrecision(1.0);
  (void)length.LengthInfo::RoundToPrecision(1.0);
  (void)length.LengthInfo::GetPrecisionAsValue(UnitsInfo::kFractional, 4, UnitsInfo::kInches);
  (void)length.LengthInfo::GetPrecisionAsValue();
  length.SetPrecision(2);
  length.SetPrecision(2, false);
  (void)length.GetPrecision();
  (void)length.GetEffectivePrecision();
  length.SetSuppressUnits(length.GetSuppressUnits());
  length.SetSpaceSeparator(length.GetSpaceSeparator());
  length.SetExtraFlag(length.GetExtraFlag());
  length.SetForceFraction(length.GetForceFraction());
  length.SetSuppressApproximation(length.GetSuppressApproximation());

  AngleInfo angle;
  AngleInfo angle_copy(angle);
  angle_copy = angle;
  delete angle.AngleInfo::Clone();
  (void)angle.AngleInfo::GetInfoKind();
  (void)angle.AngleInfo::GetConversionFactor(UnitsInfo::kDegrees);
  (void)angle.AngleInfo::GetConversionFactor();
  (void)angle.AngleInfo::GetPrecisionForValue(0.5);
  (void)angle.AngleInfo::GetMaxPrecision();
  (void)angle.AngleInfo::RoundToPrecision(1.0);
  (void)angle.AngleInfo::GetPrecisionAsValue(UnitsInfo::kDecimal, 2, UnitsInfo::kDegrees);
  (void)angle.AngleInfo::GetPrecisionAsValue();

  (void)CNumericFormatter::GetDecimalPointChar();
  (void)CNumericFormatter::GetSeparatorChar();
  (void)CNumericFormatter::NumberOfValues(s);
  (void)CNumericFormatter::TTOF(s);

  CLengthFormatter lf(length);
  CLengthFormatter lf_copy(lf);
  lf_copy = lf;
  lf.SetUseAdaptivePrecision(true);
  (void)lf.CLengthFormatter::Format(1.0);
  (void)lf.FormatAndStrip(1.0);
  (void)lf.FormatArea(1.0);
  (void)CLengthFormatter::GetUnitsString(UnitsInfo::kFeet);
  (void)CLengthFormatter::GetLengthPrecisionAsLength(UnitsInfo::kDecimal, 2);
  double values[2] = {};
  (void)CLengthFormatter::Parse(s, value, UnitsInfo::kInches);
  (void)CLengthFormatter::Parse(s, 2, values, UnitsInfo::kInches);
  (void)lf.Parse(s, value);
  (void)lf.Parse(s, 2, values);
  (void)CLengthFormatter::ReadLength(s.c_str(), s.c_str() + s.length(), value, UnitsInfo::kInches);
  UnitsInfo::Units units = UnitsInfo::kNone;
  (void)CLengthFormatter::GetLengthUnitFromString(s, &units);
  (void)CLengthFormatter::GetLengthUnitFromRawString(s, &units);
  (void)CLengthFormatter::FormatScaleForVCB(1.0, 2.0);

  AngleFormatter af(angle);
  AngleFormatter af_copy(af);
  af_copy = af;
  (void)af.AngleFormatter::Format(1.0);
  (void)AngleFormatter::FormatAngleForVCB(1.0);
  (void)AngleFormatter::Parse(s, value);
  (void)af.GetAngleInfo();

  CVCBParser parser(s, length, 1.0);
  CVCBParser parser_copy(parser);
  parser_copy = parser;
  parser.SetVCBText(s);
  parser.SetDrawingScale(1.0);
  (void)CVCBParser::IsVCBTrigger(L'1');
  (void)CVCBParser::IsVCBTrigger(s);
  (void)parser.GetLength(value);
  (void)parser.GetAngle(value);
  (void)CVCBParser::GetAngle(s, value);
  (void)parser.GetUnitlessValue(value);
  (void)CVCBParser::GetUnitlessValue(s, value);
  int count = 0;
  bool division = false;
  (void)parser.GetArrayOperation(&count, &division);
  (void)CVCBParser::GetArrayOperation(s, &count, &division);
  unsigned int rows = 0, columns = 0;
  (void)parser.GetRowsOrColumns(rows, columns);
  (void)CVCBParser::GetRowsOrColumns(s, rows, columns);
  (void)(parser.GetPointEntryMode() == CVCBParser::kNoPoint);
  velmar::geometry::Point2<float> point;
  (void)parser.GetCPoint2f(1.0f, 1.0f, point, point);

  ObserverForLink observer;
  NotificationCenter& center = NotificationCenter::Default();
  center.AddObserver(UnitsInfo::kFormatChanged, &observer);
  center.Post(UnitsInfo::kFormatChanged, &length);
  center.RemoveObserver(&observer);
  center.SetEnabled(center.IsEnabled());
  (void)NotificationCenter::IsMainThread();
  (void)observer.NotificationObserver::ReceivesFromAnyThread();

  const VariantVector no_values;
  const Dictionary no_entries;
  const KeyValuePairs no_pairs;
  Variant empty, flag(true), i8(std::int8_t{1}), i16(std::int16_t{1}), i32(std::int32_t{1}),
      i64(std::int64_t{1}), f(1.0f), dbl(1.0), str(s), moved_str(velmar_ustring("x")),
      vec(no_values), moved_vec{VariantVector{}}, dict(no_entries), moved_dict{Dictionary{}},
      pairs(no_pairs), moved_pairs{KeyValuePairs{}};
  Variant time = Variant::Timestamp(1);
  Variant copy(time), moved(std::move(copy));
  copy = time;
  moved = std::move(copy);
  (void)time.GetType();
  (void)time.IsEmpty();
  (void)str.StringReferenceCount();
  (void)flag.GetBool();
  (void)i8.GetInt8();
  (void)i16.GetInt16();
  (void)i32.GetInt32();
  (void)i64.GetInt64();
  (void)f.GetFloat();
  (void)dbl.GetDouble();
  (void)str.GetString();
  (void)time.GetTimestamp();
  (void)static_cast<const Variant&>(vec).GetVector();
  (void)vec.GetVector();
  (void)static_cast<const Variant&>(dict).GetDictionary();
  (void)dict.GetDictionary();
  (void)static_cast<const Variant&>(pairs).GetKeyValuePairs();
  (void)pairs.GetKeyValuePairs();
  (void)(flag == dbl);
  (void)(flag != dbl);
  flag.swap(dbl);
  const VariantCastError cast_error("type", "reason");
  (void)cast_error.what();

  folian::CHelpURLs& help = folian::CHelpURLs::Default();
  help.Load();
  bool local = false;
  (void)help.GetURL(s, local);
  (void)help.GetURL(s);
  help.OpenURL(s);

  folian::utils::Preferences store(26);
  folian::utils::Preferences extension_store(s, 26);
  folian::utils::Preferences store_copy(store);
  folian::utils::Preferences store_moved(std::move(store_copy));
  store_copy = store;
  store_moved = std::move(store_copy);
  store.Load(26);
  store.Save();
  (void)store.GetName();
  (void)store.GetPrivateFilePath();
  (void)store.GetPublicFilePath();
  velmar::prefs::StringVector list;
  Dictionary dictionary;
  using Store = folian::utils::Preferences;
  (void)store.Store::ReadStringVector(s, list);
  (void)store.Store::WriteStringVector(s, list);
  (void)store.Store::ReadDictionary(s, dictionary);
  (void)store.Store::WriteDictionary(s, dictionary);
  (void)store.Store::ReadInt(s, 1);
  (void)store.Store::WriteInt(s, 1);
  (void)store.Store::ReadDouble(s, 1.0);
  (void)store.Store::WriteDouble(s, 1.0);
  (void)store.Store::ReadString(s, s);
  (void)store.Store::WriteString(s, s);
  (void)store.Store::ReadBool(s, true);
  (void)store.Store::WriteBool(s, true);
  (void)store.Store::SetItem(s, flag);
  (void)store.Store::GetItem(s);
  (void)store.Store::ContainsItem(s);
  store.Store::RemoveItem(s);
  (void)store.Store::DeleteCategoriesWithPrefix(s);
  (void)Store::CategoryOfKey(s);

  folian::Preferences& prefs = folian::Preferences::Default();
  PreferencesProbe current;
  PreferencesProbe other_version(25);
  PreferencesProbe prefs_copy(prefs);
  prefs_copy.AssignFrom(prefs);
  prefs.SetAutoUpdateTrelvinModels(prefs.GetAutoUpdateTrelvinModels());
  prefs.SetEditTrelvinModels(prefs.GetEditTrelvinModels());
  prefs.SetTwoFingerPan(prefs.GetTwoFingerPan());
  prefs.SetDraftMode(prefs.GetDraftMode());
  prefs.SetDraftModeOptions(prefs.GetDraftModeOptions());
  prefs.SetDraftModeBehavior(prefs.GetDraftModeBehavior());
  (void)(folian::Preferences::kDraftModeAlwaysOn != folian::Preferences::kDraftModeStandard);
  (void)prefs.GetDraftModeAlwaysOn();
  prefs.SetReDrawDelay(prefs.GetReDrawDelay());
  prefs.SetScrollSpeedCoefficient(prefs.GetScrollSpeedCoefficient());
  prefs.SetUseSkia(prefs.UseSkia());
  prefs.SetSkiaRTFLoggingEnabled(prefs.SkiaRTFLoggingEnabled());
  prefs.SetSelectionHighlightColor(prefs.GetSelectionHighlightColor(true, false), true, false);
  prefs.ResetSelectionHighlightColor(true, false);
  (void)folian::Preferences::GetXAxisColor();
  (void)folian::Preferences::GetYAxisColor();
  (void)folian::Preferences::GetParallelPerpendicularColor();
  (void)prefs.ImportPreviousVersionSettings();
  (void)prefs.GetOrCreateUniqueCID();
  folian::Preferences::Destroy();

  folian::TempPreferences temp(25);
  folian::TempPreferences temp_copy(temp);
  temp_copy = temp;
}

int main(int argc, char** argv) {
  for (const auto& function : kExportedFunctions)
    Check(function.address() != nullptr, function.name);
  CheckConstantsAndStaticMembers();
  CheckRuntimeTexts();
  if (argc > 1 && std::strcmp(argv[1], "--call-everything") == 0) NameEveryFunction();
  if (g_failures != 0) {
    std::fprintf(stderr, "%d interface checks failed\n", g_failures);
    return 1;
  }
  std::printf("interface: every exported name links and every checked value holds\n");
  return 0;
}
