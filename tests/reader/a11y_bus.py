# The reader as a screen reader meets it on the desktop's accessibility bus.
# Run under xvfb-run and dbus-run-session: python3 a11y_bus.py LUMERA SAMPLE CD
import os, shutil, subprocess, sys, tempfile, time
import gi
gi.require_version('Atspi', '2.0')
from gi.repository import Atspi, Gio, GLib

lumera, sample, cd = sys.argv[1:4]
# A screen reader starting asks the desktop's programs for accessibility.
Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
    'org.a11y.Bus', '/org/a11y/bus', 'org.freedesktop.DBus.Properties', 'Set',
    GLib.Variant('(ssv)', ('org.a11y.Status', 'IsEnabled', GLib.Variant('b', True))),
    None, 0, -1, None)
names = []
listener = Atspi.EventListener.new(lambda e: names.append(e.source.get_name()))
listener.register('object:property-change:accessible-name')
home = tempfile.mkdtemp()
shutil.copytree(sample, home + '/lex')
env = dict(os.environ, QT_QPA_PLATFORM='xcb', XDG_CONFIG_HOME=home, XDG_DATA_HOME=home)
env.pop('QT_LINUX_ACCESSIBILITY_ALWAYS_ON', None)


def wait(what, found, seconds=60):
    end = time.time() + seconds
    while time.time() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            result = found()
        except GLib.Error:  # the page changed under the walk
            result = None
        if result:
            return result
        time.sleep(0.2)
    sys.exit('não chegou: ' + what)


def tree(node, into_pages=True):
    yield node
    if node.get_role() == Atspi.Role.DOCUMENT_WEB and not into_pages:
        return
    for child in children(node):
        yield from tree(child, into_pages)


def children(node):
    return [c for c in map(node.get_child_at_index, range(node.get_child_count())) if c]


def window(process, title):
    apps = [a for a in children(Atspi.get_desktop(0)) if a.get_process_id() == process.pid]
    return next((w for a in apps for w in children(a) if w.get_name() == title and
                 w.get_state_set().contains(Atspi.StateType.VISIBLE)), None)


def check(frame):
    for node in tree(frame, False):
        states = node.get_state_set()
        if states.contains(Atspi.StateType.FOCUSABLE) or node.get_n_actions() > 0:
            print(frame.get_name(), '|', node.get_role_name(), '|', node.get_name())
            if not node.get_name().strip() or node.get_role() == Atspi.Role.UNKNOWN:
                sys.exit('sem nome ou papel: %s em %s' % (node.get_role_name(), frame.get_name()))


def find(frame, role, name):
    return next((n for n in tree(frame) if n.get_role() == role and n.get_name() == name), None)


def text(node):  # the page's text is in its static text nodes
    return ''.join(n.get_name() for n in tree(node) if n.get_role() == Atspi.Role.LABEL)


def key(symbol):
    Atspi.generate_keyboard_event(symbol, None, Atspi.KeySynthType.SYM)


def follow(link):  # a page's link offers focus only: Enter follows it
    find(main, Atspi.Role.LINK, link).do_action(0)
    time.sleep(0.5)
    key(0xff0d)


reader = subprocess.Popen([lumera, '-C', home + '/lex', '--drive', 'D:=' + cd], env=env)
main = wait('janela principal', lambda: window(reader, 'Lumera - Edição 2002 - Ondarel'))
wait('página inicial', lambda: find(main, Atspi.Role.LINK, 'Brasil'))
check(main)
# The search field by F6, a search typed: the search window and its count.
key(0xffc3)
Atspi.generate_keyboard_event(0, 'navegacoes', Atspi.KeySynthType.STRING)
key(0xff0d)
search = wait('janela de procura',
              lambda: window(reader, 'Lumera - Edição 2002 - Resultado da Procura'))
wait('contagem', lambda: any('verbetes encontrados' in n for n in names))
check(search)
names.clear()
Atspi.EditableText.set_text_contents(find(search, Atspi.Role.TEXT, 'Procurar verbete'), 'brasil')
find(search, Atspi.Role.PUSH_BUTTON, 'Procurar').do_action(0)
print('anunciado:', wait('nova contagem', lambda: [n for n in names if 'verbetes' in n]))
key(0xff1b)
wait('procura fechada', lambda: not window(reader, search.get_name()))
# The picture window from its link, closed by Escape.
follow('Ver a apresentação na TV Lumera')
check(wait('televisão', lambda: window(reader, 'Nova Lumera Orvel - TV')))
key(0xff1b)
wait('televisão fechada', lambda: not window(reader, 'Nova Lumera Orvel - TV'))
# An article followed from its link, read as text through the tree.
follow('Brasil')
heading = wait('título do verbete', lambda: find(main, Atspi.Role.HEADING, 'Brasil'))
paragraph = wait('parágrafo', lambda: next(
    (n for n in tree(main) if n.get_role() == Atspi.Role.PARAGRAPH and 'Federativa' in text(n)),
    None))
print('título:', text(heading), '| parágrafo:', text(paragraph)[:80])
reader.terminate()
reader.wait()
setup = subprocess.Popen([lumera, '--setup'], env=env, cwd=home)
check(wait('instalação', lambda: window(setup, 'Lumera — instalar a enciclopédia')))
setup.terminate()
