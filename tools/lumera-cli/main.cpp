// Headless front end to the reader's logic, for scripts and tests.
// Output: UTF-8 lines ending in LF, a word, one space, the value; messages go
// to stderr.
#include <QCoreApplication>
#include <QTextStream>
#include <functional>
#include <map>

#include "Commands.h"
#include "app/CommandLine.h"

namespace {

constexpr const char* kUsage =
    "Uso: lumera-cli [-C PASTA] [--drive X:=PASTA]... COMANDO [ARGUMENTOS]\n"
    "\n"
    "Comandos:\n"
    "  ini    mostra InstallPath e CdRomPath lidos do lex.ini\n"
    "  page CHAVE\n"
    "         monta a página do verbete CHAVE (vf.htm) e mostra as navegações\n"
    "  route [--request TEXTO] EVENTO...\n"
    "         passa ao roteador cada EVENTO (um endereço, ou --complete para o fim\n"
    "         do carregamento de um documento) e mostra o que ele faz\n"
    "  search TEXTO [--folder PASTA] [--open N]\n"
    "         procura TEXTO como a janela de pesquisa, mostra a janela e, com --open,\n"
    "         abre o verbete da linha N (a partir de 0)\n";

using Command = std::function<int(const lumera::cli::CommandContext&)>;

const std::map<QString, Command>& commands() {
    static const std::map<QString, Command> table{
        {QStringLiteral("ini"), lumera::cli::RunIni},
        {QStringLiteral("route"), lumera::cli::RunRoute},
        {QStringLiteral("page"), lumera::cli::RunPage},
        {QStringLiteral("search"), lumera::cli::RunSearch},
    };
    return table;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    lumera::CommandLine line = lumera::CommandLine::parse(app.arguments().mid(1));
    if (line.help) {
        out << kUsage;
        return 0;
    }
    if (line.version) {
        out << "lumera-cli " << LUMERA_VERSION << "\n";
        return 0;
    }
    if (!line.error.isEmpty() || line.positional.isEmpty()) {
        err << "lumera-cli: "
            << (line.error.isEmpty() ? QStringLiteral("falta o comando") : line.error) << "\n"
            << kUsage;
        return 2;
    }
    const auto command = commands().find(line.positional.first());
    if (command == commands().end()) {
        err << "lumera-cli: comando desconhecido: " << line.positional.first() << "\n" << kUsage;
        return 2;
    }
    if (!line.applyDirectory()) {
        err << "lumera-cli: " << line.error << "\n";
        return 1;
    }
    const lumera::cli::CommandContext context{line.positional.mid(1), line.driveMappings, out, err};
    return command->second(context);
}
