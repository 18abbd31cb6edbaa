#include "agenda/arquivoagenda.h"
#include "support/fakeplatform.h"
#include "support/files.h"
#include "support/processofilho.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(IndiceAgenda, ReadsEveryLineBreakAndWritesEachLineBackByteForByte)
{
    FakePlatform fake;
    const struct
    {
        QByteArray arquivo;
        ListaLinhas linhas;
    } casos[] = {
        { "|2024|05|07|09:05|0|a.txt|\r\n|2024|05|08|10:00|1|b.txt|\r\n",
            { "|2024|05|07|09:05|0|a.txt|", "|2024|05|08|10:00|1|b.txt|" } },
        { "|a|\n|b|\n", { "|a|", "|b|" } },
        { "|a|\r|b|", { "|a|", "|b|" } }, // lone CR, no final break
        { "|a|\r\n\r\n|b|\r\n", { "|a|", "", "|b|" } }, // an empty middle line stays
        { "|a|\r\n|b|\0|c|\r\n", { "|a|", "|b|" } }, // NUL ends the text
        { "|12345|01|31|08:00|1|x.txt|\r\n", { "|12345|01|31|08:00|1|x.txt|" } },
        { "", {} },
        { "\r\n", { "" } },
        { "lixo \xe9 qualquer|coisa\n", { "lixo \xe9 qualquer|coisa" } },
    };
    for (const auto &c : casos) {
        GravaArquivo(ArquivoIndice(), c.arquivo);
        const ListaLinhas lidas = LeIndice();
        EXPECT_EQ(lidas, c.linhas) << c.arquivo.toStdString();
        ASSERT_TRUE(GravaIndice(lidas));
        QByteArray esperado;
        for (const QByteArray &l : c.linhas)
            esperado += l + "\r\n";
        EXPECT_EQ(LeArquivo(ArquivoIndice()), esperado);
    }
}

TEST(IndiceAgenda, MissingFileIsAnEmptyListAndNothingIsCreatedByReading)
{
    FakePlatform fake;
    ListaLinhas lista = { "velha" };
    CarregaAgenda(lista);
    EXPECT_TRUE(lista.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(ArquivoIndice()));
    EXPECT_EQ(ArquivoIndice(), fake.pasta + "AGENDA.AGD");
    EXPECT_EQ(ArquivoMensagem("x.txt"), fake.pasta + "CND/x.txt");
}

TEST(IncluiLembrete, FirstSaveCreatesTheIndexWithOneCrLfLineAndTheMessage)
{
    FakePlatform fake;
    CriaPastaMensagens();
    fake.agora = QDateTime(QDate(2024, 5, 1), QTime(14, 3, 27));
    ASSERT_TRUE(IncluiLembrete(QDate(2024, 5, 7), " 09:05 ", 0, "Consulta\nlevar exames"));
    EXPECT_EQ(LeArquivo(ArquivoIndice()), "|2024|05|07|09:05|0|20240501-140327.txt|\r\n");
    EXPECT_EQ(LeArquivo(ArquivoMensagem("20240501-140327.txt")), "Consulta\r\nlevar exames");

    // The next one is appended after the lines already in the file, which stay as they were.
    GravaArquivo(ArquivoIndice(), LeArquivo(ArquivoIndice()) + "\r\nlinha torta");
    fake.agora = fake.agora.addSecs(60);
    ASSERT_TRUE(IncluiLembrete(QDate(12345, 1, 31), "08:00", 1, "x"));
    EXPECT_EQ(LeArquivo(ArquivoIndice()),
        "|2024|05|07|09:05|0|20240501-140327.txt|\r\n\r\nlinha torta\r\n"
        "|12345|01|31|08:00|1|20240501-140427.txt|\r\n");
}

TEST(IncluiLembrete, TwoSavesInOneSecondGetTwoNames)
{
    FakePlatform fake;
    CriaPastaMensagens();
    fake.agora = QDateTime(QDate(2024, 5, 1), QTime(23, 59, 59));
    ASSERT_TRUE(IncluiLembrete(QDate(2024, 5, 7), "09:05", 0, "primeira"));
    ASSERT_TRUE(IncluiLembrete(QDate(2024, 5, 7), "09:06", 0, "segunda"));
    // A stray message file with no line takes its name too.
    GravaArquivo(ArquivoMensagem("20240502-000001.txt"), "solta");
    ASSERT_TRUE(IncluiLembrete(QDate(2024, 5, 7), "09:07", 0, "terceira"));
    const ListaLinhas linhas = LeIndice();
    ASSERT_EQ(linhas.size(), 3);
    EXPECT_EQ(ExtraiCampo(6, linhas[0]), "20240501-235959.txt");
    EXPECT_EQ(ExtraiCampo(6, linhas[1]), "20240502-000000.txt");
    EXPECT_EQ(ExtraiCampo(6, linhas[2]), "20240502-000002.txt");
    EXPECT_EQ(LeArquivo(ArquivoMensagem("20240501-235959.txt")), "primeira");
    EXPECT_EQ(LeArquivo(ArquivoMensagem("20240502-000000.txt")), "segunda");
    EXPECT_EQ(LeArquivo(ArquivoMensagem("20240502-000001.txt")), "solta");
    // A line whose message file is gone still holds its name.
    QFile::remove(ArquivoMensagem("20240501-235959.txt"));
    ASSERT_TRUE(IncluiLembrete(QDate(2024, 5, 7), "09:08", 0, "quarta"));
    EXPECT_EQ(ExtraiCampo(6, LeIndice().at(3)), "20240502-000003.txt");
}

TEST(IncluiLembrete, FailedWritesLeaveNothingBehind)
{
    FakePlatform fake;
    // No message folder: the message cannot be written and the index is not touched.
    GravaArquivo(ArquivoIndice(), "|a|\r\n");
    EXPECT_FALSE(IncluiLembrete(QDate(2024, 5, 7), "09:05", 0, "x"));
    EXPECT_EQ(LeArquivo(ArquivoIndice()), "|a|\r\n");

    // The index cannot be replaced (the disk fills up while it is written): the message goes too.
    CriaPastaMensagens();
    QByteArray grande;
    for (int i = 0; i < 5000; ++i)
        grande += "|2024|05|07|09:05|0|" + QByteArray::number(i) + ".txt|\r\n";
    GravaArquivo(ArquivoIndice(), grande);
    const int codigo = CodigoDoFilho([] {
        LimitaArquivos(16384);
        return IncluiLembrete(QDate(2024, 5, 7), "09:05", 0, "x") ? 0 : 3;
    });
    EXPECT_EQ(codigo, 3);
    EXPECT_EQ(LeArquivo(ArquivoIndice()), grande);
    EXPECT_TRUE(QDir(PastaMensagens()).isEmpty());
}

TEST(IncluiLembrete, AnIndexThatCannotBeReadStopsTheSaveBeforeWriting)
{
    FakePlatform fake;
    CriaPastaMensagens();
    QDir().mkpath(ArquivoIndice()); // a folder where the file should be cannot be read as one
    EXPECT_THROW(IncluiLembrete(QDate(2024, 5, 7), "09:05", 0, "x"), ELeitura);
    EXPECT_TRUE(QDir(PastaMensagens()).isEmpty());
}

TEST(GravaIndice, AWriteCutShortLeavesTheOldOrTheNewFileNeverAHalf)
{
    FakePlatform fake;
    const ListaLinhas velhas = { "|2024|05|07|09:05|0|a.txt|" };
    ASSERT_TRUE(GravaIndice(velhas));
    ListaLinhas novas;
    for (int i = 0; i < 20000; ++i)
        novas.push_back("|2024|05|07|09:05|0|" + QByteArray::number(i) + ".txt|");

    // A child process whose file-size limit stops the write midway, as a full disk would.
    const int codigo = CodigoDoFilho([&] {
        LimitaArquivos(4096);
        return GravaIndice(novas) ? 0 : 3;
    });
    EXPECT_EQ(codigo, 3) << "the cut-short write must be reported as failed";
    EXPECT_EQ(LeIndice(), velhas);

    // And a process killed in the middle of its save leaves the old file too.
    const pid_t morto = fork();
    ASSERT_GE(morto, 0);
    if (morto == 0) {
        for (;;)
            GravaIndice(novas);
    }
    usleep(30000);
    kill(morto, SIGKILL);
    int estado = 0;
    waitpid(morto, &estado, 0);
    const ListaLinhas depois = LeIndice();
    EXPECT_TRUE(depois == velhas || depois == novas) << depois.size();
}

TEST(Mensagem, KeepsEveryCharacterAndReadsOldCodePageFiles)
{
    FakePlatform fake;
    CriaPastaMensagens();
    const struct
    {
        QString texto;
        QByteArray bytes;
    } casos[] = {
        { "Reunião às 9h", "Reuni\xe3o \xe0s 9h" }, // fits the old code page
        { "Preço: 10 €", "Pre\xe7o: 10 \x80" },
        { "1\u00a0000",
            "1\xa0"
            "000" }, // a no-break space is in the code page too
        { "linha 1\nlinha 2\n", "linha 1\r\nlinha 2\r\n" },
        { "Festa 🎉 e ção", "Festa \xf0\x9f\x8e\x89 e \xc3\xa7\xc3\xa3o" }, // does not fit: UTF-8
        { "Ã©", "\xc3\x83\xc2\xa9" }, // would read back wrong in cp1252
        // The code page is told from the whole file: a line that alone looks like UTF-8 is not.
        { "Ã©\nç", "\xc3\xa9\r\n\xe7" },
    };
    for (const auto &c : casos) {
        ASSERT_TRUE(GravaMensagem("m.txt", c.texto));
        EXPECT_EQ(LeArquivo(ArquivoMensagem("m.txt")), c.bytes) << c.texto.toStdString();
        const auto linhas = LeMensagem("m.txt");
        ASSERT_TRUE(linhas.has_value());
        QString esperado = c.texto;
        if (esperado.endsWith('\n'))
            esperado.chop(1);
        EXPECT_EQ(linhas->join('\n'), esperado);
    }
    EXPECT_FALSE(LeMensagem("nao-existe.txt").has_value());
}

TEST(RemoveLembrete, RemovesTheRowsOwnLineAndItsMessageEvenWhenTheMessageIsGone)
{
    FakePlatform fake;
    CriaPastaMensagens();
    GravaArquivo(ArquivoIndice(),
        "|2024|05|07|09:05|0|ab.txt|\r\n\r\n|2024|05|07|09:30|0|b.txt|\r\n|2024|05|07|10:00|0|a.txt|\r\n"
        "|2024|05|07|11:00|0|c.txt|\r\n|2024|05|07|11:00|0|c.txt|\r\n");
    GravaArquivo(ArquivoMensagem("b.txt"), "bê");
    GravaArquivo(ArquivoMensagem("c.txt"), "cê");

    EXPECT_EQ(RemoveLembrete(""), Remocao::SemLinha);
    EXPECT_EQ(RemoveLembrete("nenhuma.txt"), Remocao::SemLinha);
    // No message file: the line goes all the same. "a.txt" is also inside "ab.txt": the
    // line whose file name it is goes, not the first one that happens to contain it.
    EXPECT_EQ(RemoveLembrete("a.txt"), Remocao::Removido);
    EXPECT_EQ(LeArquivo(ArquivoIndice()),
        "|2024|05|07|09:05|0|ab.txt|\r\n\r\n|2024|05|07|09:30|0|b.txt|\r\n|2024|05|07|11:00|0|c.txt|\r\n"
        "|2024|05|07|11:00|0|c.txt|\r\n");

    EXPECT_EQ(RemoveLembrete("b.txt"), Remocao::Removido);
    EXPECT_FALSE(QFileInfo::exists(ArquivoMensagem("b.txt")));
    // A message another line still names stays with that line. ("ab.txt" is another name.)
    EXPECT_EQ(RemoveLembrete("c.txt"), Remocao::Removido);
    EXPECT_TRUE(QFileInfo::exists(ArquivoMensagem("c.txt")));
    EXPECT_EQ(RemoveLembrete("c.txt"), Remocao::Removido);
    EXPECT_FALSE(QFileInfo::exists(ArquivoMensagem("c.txt")));
    EXPECT_EQ(LeArquivo(ArquivoIndice()), "|2024|05|07|09:05|0|ab.txt|\r\n\r\n");
    // Without its closing bar a line names its file only inside another field: still its line.
    GravaArquivo(ArquivoIndice(), "|x|\r\n|2024|05|07|12:00|0|d.txt\r\n");
    EXPECT_EQ(RemoveLembrete("d.txt"), Remocao::Removido);
    EXPECT_EQ(LeArquivo(ArquivoIndice()), "|x|\r\n");
}

TEST(RemoveLembrete, AnIndexThatCannotBeWrittenLeavesTheReminderWholeAndTheNextDeleteWorks)
{
    const QByteArray indice = "|2024|05|07|09:05|0|a.txt|\r\n|2024|05|07|09:30|0|b.txt|\r\n";
    const struct
    {
        const char *falha;
        std::function<void(const QString &pasta)> aplica; // in the child, before it deletes
    } casos[] = {
        { "read-only folder",
            [](const QString &pasta) {
                // Root writes anywhere: the child becomes nobody, owner of a folder it may only
                // read, and of the message folder, which stays writable.
                const QByteArray app = QFile::encodeName(pasta);
                const QByteArray cnd = QFile::encodeName(PastaMensagens());
                if (geteuid() == 0) {
                    for (const QByteArray &c : { QFileInfo(pasta + "..").absoluteFilePath().toLocal8Bit(), app, cnd,
                             QFile::encodeName(ArquivoMensagem("b.txt")) })
                        if (chown(c.constData(), 65534, 65534) != 0)
                            _exit(9);
                    if (setgid(65534) != 0 || setuid(65534) != 0)
                        _exit(9);
                }
                chmod(app.constData(), 0555);
            } },
        { "full disk", [](const QString &) { LimitaArquivos(8); } },
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.falha);
        FakePlatform fake;
        CriaPastaMensagens();
        GravaArquivo(ArquivoIndice(), indice);
        GravaArquivo(ArquivoMensagem("b.txt"), "bê");

        const int codigo = CodigoDoFilho([&] {
            caso.aplica(fake.pasta);
            return static_cast<int>(RemoveLembrete("b.txt"));
        });
        chmod(QFile::encodeName(fake.pasta).constData(), 0755);
        EXPECT_EQ(codigo, static_cast<int>(Remocao::IndiceNaoGravado));
        EXPECT_EQ(LeArquivo(ArquivoIndice()), indice);
        EXPECT_EQ(LeArquivo(ArquivoMensagem("b.txt")), "bê");

        // The folder is writable again: the same delete goes through.
        EXPECT_EQ(RemoveLembrete("b.txt"), Remocao::Removido);
        EXPECT_EQ(LeArquivo(ArquivoIndice()), "|2024|05|07|09:05|0|a.txt|\r\n");
        EXPECT_FALSE(QFileInfo::exists(ArquivoMensagem("b.txt")));
    }
}

// Deleting such a line is in the listing's tests.
TEST(NomeMensagem, OnlyAPlainNameIsOpened)
{
    FakePlatform fake;
    GravaArquivo(fake.pasta + "victim.txt", "de outro");
    GravaArquivo(ArquivoMensagem("a\tb.txt"), "com tab"); // there, but not by a name we make
    const QByteArray hostis[] = { "../victim.txt", "/etc/hostname", "..", ".", "a\tb.txt", "..\\victim.txt",
        QByteArray("\x7f", 1), QByteArray("x\0y", 3), "" };
    for (const QByteArray &nome : hostis) {
        EXPECT_FALSE(NomeMensagemSeguro(nome)) << nome.toPercentEncoding().constData();
        EXPECT_FALSE(LeMensagem(nome).has_value());
    }
    for (const QByteArray nome : { "20240501-140327.txt", "nota \xe9.txt", "..txt" })
        EXPECT_TRUE(NomeMensagemSeguro(nome)) << nome.constData();
}

TEST(IndiceAgenda, ASaveOrADeleteKeepsEveryLineAfterANul)
{
    FakePlatform fake;
    CriaPastaMensagens();
    ListaLinhas linhas;
    for (int i = 0; i < 50; ++i)
        linhas.push_back("|2024|05|07|09:" + QByteArray::number(10 + i) + "|0|" + QByteArray::number(i) + ".txt|");
    linhas[1].insert(5, QByteArray(1, '\0'));
    linhas[30] += QByteArray("\0\0lixo", 6);
    GravaArquivo(ArquivoIndice(), JuntaLinhas(linhas));
    ASSERT_EQ(LeIndice().size(), 2); // reading still stops at the NUL

    fake.agora = QDateTime(QDate(2024, 5, 1), QTime(14, 3, 27));
    ASSERT_TRUE(IncluiLembrete(QDate(2024, 5, 7), "18:00", 0, "nova"));
    linhas.push_back("|2024|05|07|18:00|0|20240501-140327.txt|");
    EXPECT_EQ(LeArquivo(ArquivoIndice()), JuntaLinhas(linhas));

    GravaArquivo(ArquivoMensagem("0.txt"), "zero");
    EXPECT_EQ(RemoveLembrete("0.txt"), Remocao::Removido);
    linhas.removeFirst();
    EXPECT_EQ(LeArquivo(ArquivoIndice()), JuntaLinhas(linhas));
}

TEST(TemporariosOrfaos, OnlyTheLeftoversOfAKilledSaveAreRemovedAtStart)
{
    FakePlatform fake;
    const struct
    {
        const char *nome;
        bool removido;
    } casos[] = {
        { "AGENDA.AGD.aBcDeF", true },
        { "AGENDA.AVS.XyZabc", true },
        { "AGENDA.AGD", false },
        { "AGENDA.AGD.backup", false },
        { "AGENDA.AGD.Backup", false },
        { "AGENDA.AGD.BACKUP", false },
        { "AGENDA.AGD.aBcDe1", false },
        { "agenda.agd.aBcDeF", false },
    };
    for (const auto &c : casos)
        GravaArquivo(fake.pasta + c.nome, "x");
    QFile::link(fake.pasta + "AGENDA.AGD", fake.pasta + "AGENDA.AGD.LiNkAd");
    RemoveTemporariosOrfaos();
    for (const auto &c : casos)
        EXPECT_EQ(QFileInfo::exists(fake.pasta + c.nome), !c.removido) << c.nome;
    EXPECT_TRUE(QFileInfo(fake.pasta + "AGENDA.AGD.LiNkAd").isSymLink());
}
