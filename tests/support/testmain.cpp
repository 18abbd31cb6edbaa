#include <QApplication>
#include <QFont>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

// Widget tests render offscreen with exact pixels and need no display.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
