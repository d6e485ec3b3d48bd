// Functions that values call: the standard catalogue and the links of a dictionary.
#pragma once

#include "formats/LangStr.h"
#include "model/EO.h"

#include <array>
#include <memory>
#include <vector>

namespace gs {

enum TFuncCategory : quint8 {
  fcVariables = 0,
  fcGeneration = 1,
  fcParse = 2,
  fcString = 3,
  fcMathematic = 4,
  fcFiles = 5,
  fcLinks = 6,
  fcControlling = 7,
};

struct TParam {
  QString name;
  TEditorOptions* options = nullptr;       // shared, or ownedOptions
  std::unique_ptr<TEditorOptions> ownedOptions;
  TLangStr title;
};

class TFunction {
public:
  TFunction(quint16 id, quint8 category, TEditorOptions* resultOptions);
  virtual ~TFunction();
  TFunction(const TFunction&) = delete;
  TFunction& operator=(const TFunction&) = delete;

  quint16 Id() const { return m_id; }
  void SetId(quint16 id) { m_id = id; }
  quint8 Category() const { return m_category; }
  TLangStr& Title() { return m_title; }
  const TLangStr& Title() const { return m_title; }
  TEditorOptions* ResultOptions() const { return m_resultOptions; }  // not owned

  // Both do nothing when a parameter of that name exists (ignoring case).
  virtual void AddParam(const QString& name, TEditorOptions* options, const TLangStr& title);
  void AddParam(const QString& name, TEditorOptions* options, const QString& englishTitle);
  virtual void FreeParam(int index);
  // Copies the title, the id and the parameters; category and result options stay.
  virtual void Assign(const TFunction& source);

  int ParamCount() const { return int(m_params.size()); }
  const TParam& Param(int index) const { return *m_params[index]; }
  TParam& Param(int index) { return *m_params[index]; }
  const QString& ParamName(int index) const { return m_params[index]->name; }
  TEditorOptions* ParamOptions(int index) const { return m_params[index]->options; }
  QString ParamTitle(int index) const;
  int IndexOfParam(QStringView name) const;
  QString DisplayName() const;
  QString ParamNames() const;

protected:
  void AppendParam(std::unique_ptr<TParam> param) { m_params.push_back(std::move(param)); }

private:
  quint16 m_id;
  quint8 m_category;
  TLangStr m_title;
  TEditorOptions* m_resultOptions;
  std::vector<std::unique_ptr<TParam>> m_params;
};

// An ordered list of functions it owns.
class TFuncList {
public:
  virtual ~TFuncList() = default;
  virtual TFunction* Get(quint16 id) const;  // the first with that id, or null
  virtual TFunction* Add(std::unique_ptr<TFunction> function);
  virtual std::unique_ptr<TFunction> Extract(TFunction* function);
  int Count() const { return int(m_items.size()); }
  TFunction* Item(int index) const { return m_items[index].get(); }
  int IndexOf(const TFunction* function) const;
  void Clear() { m_items.clear(); }

protected:
  std::vector<std::unique_ptr<TFunction>> m_items;
};

// The catalogue of standard functions, built once at start-up after the standard options.
class TStdFuncs : public TFuncList {
public:
  TFunction* Get(quint16 id) const override { return id < 256 ? m_index[id] : nullptr; }
  TFunction* Add(std::unique_ptr<TFunction> function) override;
  std::unique_ptr<TFunction> Extract(TFunction* function) override;

private:
  std::array<TFunction*, 256> m_index{};  // id -> first function with it
};

void CreateStdFuncs();
void FreeStdFuncs();
TStdFuncs& StdFuncs();
// The catalogue's function 77, "Checked Answer": what every new value calls.
TFunction* DefaultFunction();
// Ids that files may hold but no function picker offers.
bool IsHiddenFunction(quint16 id);
extern const std::array<quint16, 11> HiddenFunctions;

// Sets the language-dependent texts of the standard options and the catalogue's titles for
// the current language.
void ApplyLanguage();
// The title of a category (entry 2256 + category).
QString CategoryTitle(quint8 category);

} // namespace gs
