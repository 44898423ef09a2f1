// Counts the GDI and USER objects a module creates and releases, by pointing
// the entries of its import address table at counting wrappers. The import
// table is read through the IMAGE_NT_HEADERS of the running build, so the
// same code serves PE32 (i686) and PE32+ (x86_64) modules.
#ifndef TESTS_DCHKFCS_WINDOW_IMPORTCOUNT_H
#define TESTS_DCHKFCS_WINDOW_IMPORTCOUNT_H

#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct ObjectCount {
    int nCreated = 0;
    int nReleased = 0;
};

// One counter at a time; the module's imports are restored when it ends.
class ImportCounter {
public:
    explicit ImportCounter(HMODULE hModule);
    ~ImportCounter();
    ImportCounter(const ImportCounter &) = delete;
    ImportCounter &operator=(const ImportCounter &) = delete;

    // Imports of USER32, GDI32 and COMCTL32 that look as if they create an
    // object but are neither counted nor known to hand out shared ones.
    const std::vector<std::string> &Uncounted() const { return m_uncounted; }

    // Objects by kind ("window", "pen", ...) since the counter began.
    // Windows destroyed with their parent count as released.
    std::map<std::string, ObjectCount> Counts();

    // Objects not released, one line each ("pen 0x1234").
    std::vector<std::string> Live();

private:
    struct Patch {
        void **ppSlot;
        void *pOriginal;
    };
    void Redirect(void **ppSlot, void *pTarget);

    HMODULE m_hModule;
    std::vector<Patch> m_patches;
    std::vector<std::string> m_uncounted;
};

#endif
