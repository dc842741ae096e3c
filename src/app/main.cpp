#include "model/file_version.h"

#include <QCoreApplication>
#include <cstring>
#include <iostream>

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "KESTRA " << kestra::kProgramVersionText << '\n';
            return 0;
        }
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Orvalle Software");
    QCoreApplication::setApplicationName("KESTRA");
    QCoreApplication::setApplicationVersion(kestra::kProgramVersionText);
    std::cout << "KESTRA " << kestra::kProgramVersionText << '\n';
    return 0;
}
