#include "host/win/service_object.h"

#include <windows.h>

#include <cstring>

#include "plugin/player_protocol.h"

namespace {

// The shape of every object the service hands out: one virtual method,
// thiscall, first in the table. It answers 1 with *result filled when it
// knows the message, else 0.
class Dispatchable {
public:
    virtual int VIS_THISCALL _dispatch(int message, void* result, void** params, int count) = 0;

protected:
    ~Dispatchable() = default;
};

template <typename T>
T Arg(void** params, int index) {
    return *static_cast<T*>(params[index]);
}

template <typename T>
int Answer(void* result, T value) {
    if (result) *static_cast<T*>(result) = value;
    return 1;
}

// The arguments of the dialog messages: localised hinstance, original
// hinstance, id, parent, procedure, parameter; the dialog comes from the
// original.
struct DialogCall {
    HINSTANCE original;
    UINT id;
    HWND parent;
    DLGPROC procedure;
    LPARAM parameter;
    static DialogCall From(void** params) {
        return {Arg<HINSTANCE>(params, 1), Arg<UINT>(params, 2), Arg<HWND>(params, 3), Arg<DLGPROC>(params, 4),
                Arg<LPARAM>(params, 5)};
    }
};

// Strings asked for without a buffer land here, as in the player.
char OwnString[1024];
wchar_t OwnStringWide[1024];

class Language final : public Dispatchable {
public:
    int VIS_THISCALL _dispatch(int message, void* result, void** params, int count) override {
        using namespace LanguageMessage;
        switch (message) {
        case StartSupport:
            if (count < 1) return 0;
            return Answer(result, Arg<HINSTANCE>(params, 0));
        case String: {
            if (count < 5) return 0;
            char* buffer = Arg<char*>(params, 3);
            int size = int(Arg<size_t>(params, 4));
            if (!buffer) buffer = OwnString, size = sizeof OwnString;
            if (size > 0 && !LoadStringA(Arg<HINSTANCE>(params, 1), Arg<UINT>(params, 2), buffer, size)) buffer[0] = 0;
            return Answer(result, buffer);
        }
        case StringWide: {
            if (count < 5) return 0;
            wchar_t* buffer = Arg<wchar_t*>(params, 3);
            int size = int(Arg<size_t>(params, 4));
            if (!buffer) buffer = OwnStringWide, size = sizeof OwnStringWide / sizeof *OwnStringWide;
            if (size > 0 && !LoadStringW(Arg<HINSTANCE>(params, 1), Arg<UINT>(params, 2), buffer, size)) buffer[0] = 0;
            return Answer(result, buffer);
        }
        case CreateLocalDialog:
        case CreateLocalDialogWide: {
            if (count < 6) return 0;
            const DialogCall d = DialogCall::From(params);
            return Answer(
                result,
                message == CreateLocalDialog
                    ? CreateDialogParamA(d.original, MAKEINTRESOURCEA(d.id), d.parent, d.procedure, d.parameter)
                    : CreateDialogParamW(d.original, MAKEINTRESOURCEW(d.id), d.parent, d.procedure, d.parameter));
        }
        case LocalDialogBox:
        case LocalDialogBoxWide: {
            if (count < 6) return 0;
            const DialogCall d = DialogCall::From(params);
            return Answer(
                result, message == LocalDialogBox
                            ? DialogBoxParamA(d.original, MAKEINTRESOURCEA(d.id), d.parent, d.procedure, d.parameter)
                            : DialogBoxParamW(d.original, MAKEINTRESOURCEW(d.id), d.parent, d.procedure, d.parameter));
        }
        case LoadLocalMenu:
        case LoadLocalMenuWide: {
            if (count < 3) return 0;
            const auto original = Arg<HINSTANCE>(params, 1);
            const auto id = Arg<UINT>(params, 2);
            return Answer(result, message == LoadLocalMenu ? LoadMenuA(original, MAKEINTRESOURCEA(id))
                                                           : LoadMenuW(original, MAKEINTRESOURCEW(id)));
        }
        case NumericLocale: return Answer<void*>(result, nullptr);
        default: return 0;
        }
    }
};

class LanguageFactory final : public Dispatchable {
public:
    int VIS_THISCALL _dispatch(int message, void* result, void**, int) override {
        if (message != ServiceMessage::FactoryGetInterface) return 0;
        return Answer<void*>(result, &language_);
    }

private:
    Language language_;
};

class ServiceManager final : public Dispatchable {
public:
    int VIS_THISCALL _dispatch(int message, void* result, void** params, int count) override {
        if (message != ServiceMessage::GetServiceByGuid || count < 1) return 0;
        const bool language = std::memcmp(params[0], &LanguageServiceGuid, sizeof LanguageServiceGuid) == 0;
        return Answer<void*>(result, language ? &factory_ : nullptr);
    }

private:
    LanguageFactory factory_;
};

ServiceManager Services;

}  // namespace

void* PlayerServiceObject() { return &Services; }
