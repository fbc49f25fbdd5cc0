// Builds the full-text index the reader searches: the arguments, then the
// index build of the edition in the (given) current folder.
#include <unistd.h>

#include <QCoreApplication>
#include <QTextStream>
#include <memory>

#include "app/CommandLine.h"
#include "edition/IndexBuild.h"
#include "edition/ProgressBar.h"
#include "searchengine/IndexBuilder.h"

namespace lumera {
namespace {

constexpr const char* kUsage =
    "Uso: lumera-index [-C PASTA] [--drive X:=PASTA]... [--threads N]\n"
    "\n"
    "Cria o índice de pesquisa dos artigos da enciclopédia. Lê o lex.ini da pasta\n"
    "atual, como o leitor, indexa todos os artigos da base lex.mdb da pasta de\n"
    "instalação (PATH=) e grava o índice na pasta \"indice\" e a lista \"search.lst\"\n"
    "ao lado dela. Um índice anterior só é substituído quando o novo está pronto.\n"
    "Numa base do Access, grava também ao lado dela a tabela de chaves lex.chaves,\n"
    "com que o leitor acha cada verbete sem percorrer a base inteira.\n"
    "\n"
    "  -C PASTA          entra na PASTA antes de ler o lex.ini\n"
    "  --drive X:=PASTA  faz a unidade X: do lex.ini corresponder à PASTA (repetível)\n"
    "  --threads N       indexa em N partes ao mesmo tempo (padrão: uma por núcleo)\n"
    "  -h, --help        mostra esta ajuda\n"
    "  --version         mostra a versão\n";

int RunIndexer(const QStringList& arguments, QTextStream& out, QTextStream& err,
               bool errIsTerminal) {
    QStringList rest = arguments;
    int threads = IndexBuilder::defaultSlices();
    if (const qsizetype at = rest.indexOf(QStringLiteral("--threads")); at >= 0) {
        bool ok = false;
        threads = at + 1 < rest.size() ? rest[at + 1].toInt(&ok) : 0;
        if (!ok || threads < 1) {
            err << "lumera-index: --threads precisa de um número a partir de 1\n" << kUsage;
            return 2;
        }
        rest.remove(at, 2);
    }
    CommandLine line = CommandLine::parse(rest);
    if (line.help) {
        out << kUsage;
        return 0;
    }
    if (line.version) {
        out << "lumera-index " << LUMERA_VERSION << "\n";
        return 0;
    }
    if (line.error.isEmpty() && !line.positional.isEmpty()) {
        line.error = QStringLiteral("argumento inesperado: %1").arg(line.positional.first());
    }
    if (!line.error.isEmpty()) {
        err << "lumera-index: " << line.error << "\n" << kUsage;
        return 2;
    }
    if (!line.applyDirectory()) {
        err << "lumera-index: " << line.error << "\n";
        return 1;
    }
    if (!errIsTerminal) return BuildIndex(line.driveMappings, threads, out, err, {});
    std::unique_ptr<ProgressBar> bar;
    int done = 0;
    const int status =
        BuildIndex(line.driveMappings, threads, out, err, [&](int articles, int total) {
            if (!bar) bar = std::make_unique<ProgressBar>(err, total);
            bar->update(done = articles);
        });
    if (bar) bar->finish(done);
    return status;
}

}  // namespace
}  // namespace lumera

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    return lumera::RunIndexer(app.arguments().mid(1), out, err, isatty(STDERR_FILENO) != 0);
}
