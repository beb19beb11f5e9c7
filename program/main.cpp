#include "Program.h"
#include "Registration.h"

int main(int argc, char** argv) {
    corvane::RegisterProgramModules();
    return corvane::RunCorvane(argc, argv);
}
