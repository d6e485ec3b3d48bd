#include "model/Functions.h"

#include "platform/Text.h"
#include "shell/LangFrm.h"

namespace gs {

// ---- TFunction

TFunction::TFunction(quint16 id, quint8 category, TEditorOptions* resultOptions)
    : m_id(id), m_category(category), m_resultOptions(resultOptions) {}

TFunction::~TFunction() = default;

void TFunction::AddParam(const QString& name, TEditorOptions* options, const TLangStr& title) {
  if (IndexOfParam(name) >= 0) return;
  auto param = std::make_unique<TParam>();
  param->name = name;
  param->options = options;
  param->title.AssignFrom(title);
  m_params.push_back(std::move(param));
}

void TFunction::AddParam(const QString& name, TEditorOptions* options, const QString& englishTitle) {
  TLangStr title;
  title.SetEnglishText(englishTitle);
  AddParam(name, options, title);
}

void TFunction::FreeParam(int index) {
  m_params.erase(m_params.begin() + index);
}

void TFunction::Assign(const TFunction& source) {
  if (&source == this) return;
  m_title.AssignFrom(source.m_title);
  m_id = source.m_id;
  while (ParamCount() > 0) FreeParam(ParamCount() - 1);
  for (const auto& p : source.m_params) AddParam(p->name, p->options, p->title);
}

QString TFunction::ParamTitle(int index) const {
  const QString title = m_params[index]->title.DisplayText();
  return title.isEmpty() ? m_params[index]->name : title;
}

int TFunction::IndexOfParam(QStringView name) const {
  for (int i = 0; i < ParamCount(); ++i)
    if (SameText(m_params[i]->name, name)) return i;
  return -1;
}

QString TFunction::DisplayName() const {
  if (m_params.empty()) return m_title.DisplayText();
  QStringList titles;
  for (int i = 0; i < ParamCount(); ++i) titles.append(ParamTitle(i));
  return m_title.DisplayText() + QStringLiteral(" (") + titles.join(QStringLiteral(", ")) + u')';
}

QString TFunction::ParamNames() const {
  QStringList names;
  for (const auto& p : m_params) names.append(p->name);
  return names.join(QStringLiteral(", "));
}

// ---- TFuncList

TFunction* TFuncList::Get(quint16 id) const {
  for (const auto& f : m_items)
    if (f->Id() == id) return f.get();
  return nullptr;
}

TFunction* TFuncList::Add(std::unique_ptr<TFunction> function) {
  m_items.push_back(std::move(function));
  return m_items.back().get();
}

std::unique_ptr<TFunction> TFuncList::Extract(TFunction* function) {
  for (auto it = m_items.begin(); it != m_items.end(); ++it) {
    if (it->get() != function) continue;
    std::unique_ptr<TFunction> taken = std::move(*it);
    m_items.erase(it);
    return taken;
  }
  return nullptr;
}

int TFuncList::IndexOf(const TFunction* function) const {
  for (int i = 0; i < Count(); ++i)
    if (m_items[i].get() == function) return i;
  return -1;
}

TFunction* TStdFuncs::Add(std::unique_ptr<TFunction> function) {
  TFunction* f = TFuncList::Add(std::move(function));
  if (f->Id() < 256 && !m_index[f->Id()]) m_index[f->Id()] = f;
  return f;
}

std::unique_ptr<TFunction> TStdFuncs::Extract(TFunction* function) {
  std::unique_ptr<TFunction> taken = TFuncList::Extract(function);
  if (taken && taken->Id() < 256) {
    m_index[taken->Id()] = nullptr;
    m_index[taken->Id()] = TFuncList::Get(taken->Id());
  }
  return taken;
}

// ---- The catalogue

namespace {

using TOptionsMember = std::unique_ptr<TEditorOptions> TStdOptions::*;

struct TParamEntry {
  const char16_t* name;
  TOptionsMember options;
};

struct TFuncEntry {
  quint16 id;
  quint8 category;
  TOptionsMember result;
  std::initializer_list<TParamEntry> params;
};

constexpr TOptionsMember S = &TStdOptions::eoString, C = &TStdOptions::eoCardinal,
                         N = &TStdOptions::eoNatural, I = &TStdOptions::eoInteger,
                         V = &TStdOptions::eoVarIdent, A = &TStdOptions::eoArrayIdent,
                         F = &TStdOptions::eoFileName;

// The catalogue in picker order.
const TFuncEntry kCatalogue[] = {
    {67, fcVariables, S, {{u"Ident", V}}},
    {65, fcVariables, S, {{u"Ident", V}, {u"String", S}}},
    {66, fcVariables, S, {{u"Ident", V}}},
    {68, fcGeneration, S, {}},
    {84, fcGeneration, S, {{u"Index", C}}},
    {85, fcGeneration, S, {{u"Index", C}}},
    {69, fcGeneration, C, {}},
    {70, fcGeneration, C, {}},
    {74, fcGeneration, S, {}},
    {71, fcGeneration, N, {}},
    {97, fcGeneration, S, {}},
    {98, fcGeneration, S, {}},
    {99, fcGeneration, S, {}},
    {100, fcGeneration, S, {}},
    {101, fcGeneration, S, {}},
    {80, fcGeneration, N, {}},
    {81, fcGeneration, N, {}},
    {86, fcGeneration, C, {}},
    {87, fcGeneration, N, {}},
    {73, fcGeneration, S, {}},
    {72, fcGeneration, N, {}},
    {76, fcGeneration, S, {}},
    {79, fcGeneration, &TStdOptions::eoBoolean, {}},
    {96, fcGeneration, C, {}},
    {56, fcParse, C, {{u"Ident", A}}},
    {58, fcParse, C, {{u"String", S}, {u"Ident", A}}},
    {61, fcParse, C, {{u"Ident", A}}},
    {59, fcParse, S, {{u"Ident", A}, {u"String", S}}},
    {57, fcParse, S, {{u"Ident", A}, {u"Index", C}}},
    {60, fcParse, C, {{u"Ident", A}, {u"Index", N}}},
    {128, fcParse, C, {{u"Ident", A}, {u"Index", N}}},
    {129, fcParse, C, {{u"Ident", A}, {u"Index", N}}},
    {63, fcParse, S, {{u"Ident", A}}},
    {16, fcString, S, {{u"String1", S}, {u"String2", S}}},
    {35, fcString, S, {{u"Start", S}, {u"String", S}, {u"End", S}}},
    {17, fcString, C, {{u"String", S}}},
    {18, fcString, S, {{u"String", S}, {u"Start", N}, {u"Count", C}}},
    {19, fcString, S, {{u"String", S}, {u"Count", C}}},
    {20, fcString, S, {{u"String", S}, {u"Count", C}}},
    {21, fcString, C, {{u"Substring", S}, {u"String", S}}},
    {22, fcString, C, {{u"Substring", S}, {u"String", S}}},
    {23, fcString, S, {{u"String", S}, {u"From", S}, {u"To", S}}},
    {24, fcString, S, {{u"String", S}, {u"Count", C}}},
    {25, fcString, S, {{u"String", S}}},
    {26, fcString, C, {{u"String", S}}},
    {27, fcString, S, {{u"String", S}, {u"Index", C}}},
    {28, fcString, S, {{u"String", S}, {u"Ident", S}, {u"Index", N}}},
    {29, fcString, S, {{u"String", S}, {u"Index", C}}},
    {30, fcString, S, {{u"String", S}}},
    {31, fcString, S, {{u"String", S}}},
    {32, fcString, S, {{u"String", S}}},
    {33, fcString, S, {{u"String", S}}},
    {34, fcString, S, {{u"From", S}, {u"To", S}, {u"End", S}}},
    {47, fcString, &TStdOptions::eoChar, {{u"String", S}}},
    {0, fcMathematic, I, {{u"Value1", I}, {u"Value2", I}}},
    {1, fcMathematic, I, {{u"Value1", I}, {u"Value2", I}}},
    {2, fcMathematic, I, {{u"Value1", I}, {u"Value2", I}}},
    {3, fcMathematic, I, {{u"Value1", I}, {u"Value2", I}}},
    {4, fcMathematic, I, {{u"Value1", I}, {u"Value2", I}}},
    {5, fcMathematic, C, {{u"Value", I}}},
    {15, fcMathematic, N, {{u"Range", &TStdOptions::eoRange}}},
    {48, fcFiles, C, {{u"FileName", F}}},
    {49, fcFiles, S, {{u"FileName", F}, {u"Index", N}}},
    {50, fcFiles, C, {{u"String", S}, {u"FileName", F}}},
    {144, fcFiles, S, {{u"FileName", F}}},
    {55, fcFiles, S, {{u"FileName", F}}},
    {112, fcControlling, N, {}},
    {113, fcControlling, &TStdOptions::eoLanguage, {}},
    {78, fcControlling, N, {}},
    {83, fcControlling, N, {}},
    {89, fcControlling, N, {}},
    {77, fcControlling, S, {}},
    {82, fcControlling, S, {}},
    {75, fcControlling, S, {}},
    {88, fcControlling, S, {}},
};

// Parameter titles by parameter name.
struct TParamTitle {
  const char16_t* name;
  std::uint16_t id;
};
const TParamTitle kParamTitles[] = {
    {u"Value", 2512},  {u"Value1", 2513}, {u"Value2", 2514},   {u"String", 2515},    {u"String1", 2516},
    {u"String2", 2517}, {u"Count", 2518}, {u"Range", 2519},    {u"Start", 2520},     {u"From", 2521},
    {u"To", 2522},     {u"FileName", 2523}, {u"Ident", 2524},  {u"Index", 2525},     {u"Char", 2526},
    {u"Substring", 2527}, {u"End", 2528},
};

std::unique_ptr<TStdFuncs> g_stdFuncs;

} // namespace

const std::array<quint16, 11> HiddenFunctions = {26, 27, 28, 29, 31, 64, 73, 79, 99, 100, 101};

bool IsHiddenFunction(quint16 id) {
  return std::find(HiddenFunctions.begin(), HiddenFunctions.end(), id) != HiddenFunctions.end();
}

void CreateStdFuncs() {
  TStdOptions& options = StdOptions();
  auto catalogue = std::make_unique<TStdFuncs>();
  for (const TFuncEntry& entry : kCatalogue) {
    auto f = std::make_unique<TFunction>(entry.id, entry.category, (options.*entry.result).get());
    for (const TParamEntry& p : entry.params)
      f->AddParam(QString::fromUtf16(p.name), (options.*p.options).get(), TLangStr());
    catalogue->Add(std::move(f));
  }
  g_stdFuncs = std::move(catalogue);
  ApplyLanguage();
}

void FreeStdFuncs() {
  g_stdFuncs.reset();
}

TStdFuncs& StdFuncs() {
  return *g_stdFuncs;
}

TFunction* DefaultFunction() {
  return g_stdFuncs->Get(77);
}

QString CategoryTitle(quint8 category) {
  return LangString(TLangSection::Strings, std::uint16_t(2256 + category));
}

void ApplyLanguage() {
  ApplyStdOptionsLanguage();
  if (!g_stdFuncs) return;
  for (int i = 0; i < g_stdFuncs->Count(); ++i) {
    TFunction& f = *g_stdFuncs->Item(i);
    for (int p = 0; p < f.ParamCount(); ++p) {
      for (const TParamTitle& t : kParamTitles) {
        if (f.ParamName(p) != QStringView(t.name)) continue;
        f.Param(p).title.SetCurrentText(LangString(TLangSection::Strings, t.id));
        break;
      }
    }
    f.Title().SetCurrentText(LangString(TLangSection::Strings, std::uint16_t(2000 + f.Id())));
  }
}

} // namespace gs
