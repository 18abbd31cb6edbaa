#include "fakeplatform.h"

FakePlatform::FakePlatform()
{
    pasta = temporaria.path() + QStringLiteral("/app/");
    pastaAutostart = temporaria.path() + QStringLiteral("/config/autostart/");
    QDir().mkpath(pasta);
    setPlatform(this);
}

FakePlatform::~FakePlatform()
{
    setPlatform(nullptr);
}

Platform::Resposta FakePlatform::messageBox(const QString &texto, const QString &titulo, Botoes botoes)
{
    caixas.push_back({ texto, titulo, botoes });
    if (aoMostrarCaixa)
        aoMostrarCaixa(caixas.back());
    if (respostas.empty())
        return Resposta::Ok;
    const Resposta r = respostas.front();
    respostas.pop_front();
    return r;
}

void FakePlatform::playSound(const QString &arquivo)
{
    sons.push_back(arquivo);
    if (aoTocar)
        aoTocar(arquivo);
}

bool FakePlatform::registerWindowClass(const QString &classe)
{
    if (classesExistentes.contains(classe))
        return false;
    classesExistentes.push_back(classe);
    return true;
}

void FakePlatform::onBringToFront(const QString &classe, std::function<void()> acao)
{
    acoesFrente[classe] = std::move(acao);
}

QStringList FakePlatform::TextosCaixas() const
{
    QStringList textos;
    for (const Caixa &c : caixas)
        textos.push_back(c.texto);
    return textos;
}
