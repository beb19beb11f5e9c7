// The lists that the windows build from the project's function groups and scenes: the project
// tree, a scene's values, the groups a push button can drive, and where a group is used.
//
// Function-group kinds k: 1 lighting, 2 ventilation, 3 temperature, 4 blind, 5 scene,
// 7 signalling; k is also the kind's index in FGruppen. A push button refers to group i of kind
// k as k * 100 + i; the tree ids are one higher. Every list covers the groups 0..Max-1.
#include "corlink/clsOrvekDali.h"

#include "automation_error.h"

#include <utility>

namespace corlink {

namespace {

constexpr std::int32_t kListUpper = 100;   // lists are built in 101 entries, then shrunk
constexpr std::uint8_t kSceneActor = 100;  // AktorID of a scene entry

// Keeps entries 0..count-1 (an allocated, empty list for 0).
template <class T>
void shrinkTo(SafeArray<T>& list, std::int32_t count) {
    SafeArray<T> kept(0, count - 1);
    for (std::int32_t i = 0; i < count; ++i) kept(i) = std::move(list(i));
    list = std::move(kept);
}

// The value list of kind k (1..4) in a scene.
SafeArray<TypSzenenWerte>& valuesOf(TypSzene& scene, std::int32_t k) {
    switch (k) {
    case 1: return scene.BeleuchtungsWerte;
    case 2: return scene.BelueftungsWerte;
    case 3: return scene.TemperaturWerte;
    default: return scene.JalousieWerte;
    }
}

}  // namespace

void clsOrvekDali::GetDataTree(SafeArray<TypDynamicTasten>& myArray) {
    myArray.redim(0, kListUpper);
    std::int32_t n = 0;
    try {
        const auto add = [&](const std::string& text, std::int32_t id) {
            TypDynamicTasten& e = myArray(n);
            e.Text = text;
            e.ID = static_cast<std::int16_t>(id);
            ++n;
        };
        const TypMaxGrenzwerte& g = mGrenzwerte;
        for (std::int32_t i = 0; i < g.MaxBeleuchtungsgruppen; ++i) add(mBeleuchtungsGruppe(i).Name, 101 + i);
        for (std::int32_t i = 0; i < g.MaxBelueftungsgruppen; ++i) add(mBelueftungsGruppe(i).Name, 201 + i);
        for (std::int32_t i = 0; i < g.MaxTemperaturgruppen; ++i) add(mTemperaturGruppe(i).Name, 301 + i);
        for (std::int32_t i = 0; i < g.MaxJalousiegruppen; ++i) add(mJalousieGruppe(i).Name, 401 + i);
        for (std::int32_t i = 0; i < g.MaxSzenen; ++i) add(mSzene(i).Name, 501 + i);
        for (std::int32_t i = 0; i < g.MaxMeldegruppen; ++i) {
            const TypMeldeGruppe& m = mMeldeGruppe(i);
            add(!m.Name0.empty() ? m.Name0 : m.Name1, 701 + i);
        }
        shrinkTo(myArray, n == 0 ? 1 : n);  // never less than the one empty entry
    } catch (const automation::AutomationError& e) {
        raiseInterfaceError(e.number());
    }
}

namespace {

// The entries of kind k (1..4) for the value list of scene s; the value is read after the
// group's own fields are written.
template <class Group>
void addSceneValues(SafeArray<TypDynamicSzenen>& list, std::int32_t& n, const SafeArray<Group>& groups,
                    std::int32_t count, const SafeArray<TypFunktionsGruppen>& kinds, std::int32_t k,
                    std::int16_t sortKey, SafeArray<TypSzene>& scenes, std::int16_t s) {
    for (std::int32_t i = 0; i < count; ++i) {
        const Group& g = groups(i);
        TypDynamicSzenen& e = list(n);
        e.GrpActive = g.Active;
        e.Text = kinds(k).Name + ": " + g.Name;
        e.ID = static_cast<std::int16_t>(k * 100 + i);
        e.SortKey = sortKey;
        e.AktorID = g.AktorTyp;
        const TypSzenenWerte& v = valuesOf(scenes(s), k)(i);
        e.WertID = automation::toByte(static_cast<double>(v.WertID));
        e.Wert1 = v.Wert1;
        e.Wert2 = v.Wert2;
        e.Active = v.Aktiv;
        e.RefAufSzenenWert = v.RefAufSzenenWert;
        ++n;
    }
}

}  // namespace

void clsOrvekDali::GetDynamicSzenenArray(SafeArray<TypDynamicSzenen>& myArray, std::int16_t IndexNummer) {
    myArray.redim(0, kListUpper);
    std::int32_t n = 0;
    try {
        const TypMaxGrenzwerte& g = mGrenzwerte;
        // Listed by kind; SortKey gives the display order lighting, blind, ventilation, temperature.
        addSceneValues(myArray, n, mBeleuchtungsGruppe, g.MaxBeleuchtungsgruppen, mFGruppen, 1, 1, mSzene, IndexNummer);
        addSceneValues(myArray, n, mBelueftungsGruppe, g.MaxBelueftungsgruppen, mFGruppen, 2, 3, mSzene, IndexNummer);
        addSceneValues(myArray, n, mTemperaturGruppe, g.MaxTemperaturgruppen, mFGruppen, 3, 4, mSzene, IndexNummer);
        addSceneValues(myArray, n, mJalousieGruppe, g.MaxJalousiegruppen, mFGruppen, 4, 2, mSzene, IndexNummer);
        shrinkTo(myArray, n);
    } catch (const automation::AutomationError& e) {
        raiseInterfaceError(e.number());
    }
}

void clsOrvekDali::GetDynamicArray(SafeArray<TypDynamicTasten>& myArray, std::int16_t /*IndexNummer*/) {
    myArray.redim(0, kListUpper);
    try {
        myArray(0) = {"-----", 0, 0};  // no group
        std::int32_t n = 1;
        const auto addActive = [&](const auto& groups, std::int32_t count, std::int32_t k) {
            for (std::int32_t i = 0; i < count; ++i) {
                const auto& group = groups(i);
                if (!group.Active) continue;
                myArray(n++) = {mFGruppen(k).Name + ": " + group.Name, static_cast<std::int16_t>(k * 100 + i),
                                group.AktorTyp};
            }
        };
        const TypMaxGrenzwerte& g = mGrenzwerte;
        addActive(mBeleuchtungsGruppe, g.MaxBeleuchtungsgruppen, 1);
        addActive(mBelueftungsGruppe, g.MaxBelueftungsgruppen, 2);
        addActive(mTemperaturGruppe, g.MaxTemperaturgruppen, 3);
        addActive(mJalousieGruppe, g.MaxJalousiegruppen, 4);
        for (std::int32_t i = 0; i < g.MaxSzenen; ++i) {
            const TypSzene& s = mSzene(i);
            if (s.Active)
                myArray(n++) = {mFGruppen(5).Name + ": " + s.Name, static_cast<std::int16_t>(500 + i), kSceneActor};
        }
        shrinkTo(myArray, n);
    } catch (const automation::AutomationError& e) {
        raiseInterfaceError(e.number());
    }
}

bool clsOrvekDali::isUsedinST(std::int16_t mFGruppe, std::int16_t mFGruppeIndex, bool ClearFlag) {
    try {
        bool usedInScene = false;
        bool usedOnButton = false;
        if (mFGruppe >= 1 && mFGruppe <= 4) {
            for (std::int32_t b = 0; b < mGrenzwerte.MaxSzenen; ++b) {
                TypSzenenWerte& v = valuesOf(mSzene(b), mFGruppe)(mFGruppeIndex);
                if (!v.Aktiv) continue;
                usedInScene = true;
                if (ClearFlag) {
                    v.Aktiv = false;
                    CheckUsedEntry(static_cast<std::int16_t>(b));
                    if (!mSzene(b).Active) mSzene(b).Name.clear();
                }
            }
        }
        const std::int16_t reference = automation::toInteger(static_cast<double>(mFGruppe) * 100 + mFGruppeIndex);
        for (std::int32_t t = 0; t < mGrenzwerte.MaxTasten; ++t) {
            TypTasten& button = mTasten(t);
            if (button.GruppenID != reference) continue;
            usedOnButton = true;
            if (ClearFlag) {
                button.FunktionID = 0;
                button.GruppenID = 0;
                button.WertID = 0;
            }
        }
        return usedInScene || usedOnButton;
    } catch (const automation::AutomationError& e) {
        raiseInterfaceError(e.number());
        return false;
    }
}

void clsOrvekDali::CheckUsedEntry(std::int16_t index) {
    TypSzene& scene = mSzene(index);
    scene.Active = false;
    for (const SafeArray<TypSzenenWerte>* list :
         {&scene.BeleuchtungsWerte, &scene.BelueftungsWerte, &scene.JalousieWerte, &scene.TemperaturWerte}) {
        for (const TypSzenenWerte& v : *list) {
            if (v.Aktiv) {
                scene.Active = true;
                return;
            }
        }
    }
}

}  // namespace corlink
