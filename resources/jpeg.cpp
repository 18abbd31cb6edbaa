#include "resources/jpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct Erro
{
    jpeg_error_mgr padrao;
    std::jmp_buf salto;
};

// libjpeg's default handler ends the process; jump back and report a null image instead.
[[noreturn]] void SaiComErro(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Erro *>(info->err)->salto, 1);
}

void SemMensagem(j_common_ptr)
{
}

} // namespace

QImage DecodificaJpeg(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    jpeg_decompress_struct info {};
    Erro erro {};
    info.err = jpeg_std_error(&erro.padrao);
    erro.padrao.error_exit = SaiComErro;
    erro.padrao.output_message = SemMensagem;
    // Only plain data lives across the jump: the image is built after the last libjpeg call.
    static thread_local QImage imagem;
    imagem = QImage();
    if (setjmp(erro.salto)) {
        jpeg_destroy_decompress(&info);
        imagem = QImage();
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(
        &info, reinterpret_cast<const unsigned char *>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    imagem = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW linha = imagem.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &linha, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage pronta = imagem;
    imagem = QImage();
    return pronta;
}

QPixmap FiguraJpeg(const QString &recurso)
{
    QFile arquivo(recurso);
    if (!arquivo.open(QIODevice::ReadOnly))
        return {};
    return QPixmap::fromImage(DecodificaJpeg(arquivo.readAll()));
}
