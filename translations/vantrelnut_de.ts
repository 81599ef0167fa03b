<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CommandLine</name>
    <message>
        <source>Desktop shell of the Mird colour-measurement web application.
Qt&apos;s own options (-platform, -style, ...) are accepted; the browser engine&apos;s
switches follow %1.</source>
        <translation>Desktop-Programm der Mird-Webanwendung für die Farbmessung.
Qts eigene Optionen (-platform, -style, ...) werden angenommen; die Schalter der
Browser-Engine folgen auf %1.</translation>
    </message>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Zeigt diese Hilfe an und beendet das Programm.</translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation>Zeigt die Version an und beendet das Programm.</translation>
    </message>
    <message>
        <source>Writes the shell&apos;s own debug lines to standard error and the log.</source>
        <translation>Schreibt die eigenen Debug-Zeilen des Programms in die Standardfehlerausgabe und das Protokoll.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument &apos;%1&apos;.</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find in page</source>
        <translation>Auf der Seite suchen</translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation>Vorheriger Treffer</translation>
    </message>
    <message>
        <source>Next match</source>
        <translation>Nächster Treffer</translation>
    </message>
    <message>
        <source>Close the find bar</source>
        <translation>Suchleiste schließen</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>Log In</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>The proxy server %1 asks you to log in.</source>
        <translation>Der Proxy-Server %1 bittet Sie, sich anzumelden.</translation>
    </message>
    <message>
        <source>The server %1 asks you to log in.</source>
        <translation>Der Server %1 bittet Sie, sich anzumelden.</translation>
    </message>
    <message>
        <source>Realm</source>
        <translation>Bereich</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
</context>
<context>
    <name>MessageBar</name>
    <message>
        <source>Messages</source>
        <translation>Meldungen</translation>
    </message>
    <message>
        <source>Close this message</source>
        <translation>Diese Meldung schließen</translation>
    </message>
</context>
<context>
    <name>PageDialogs</name>
    <message>
        <source>Leave this page? Changes you made may not be saved.</source>
        <translation>Diese Seite verlassen? Ihre Änderungen werden möglicherweise nicht gespeichert.</translation>
    </message>
    <message>
        <source>&amp;Leave</source>
        <translation>&amp;Verlassen</translation>
    </message>
    <message>
        <source>&amp;Stay</source>
        <translation>&amp;Bleiben</translation>
    </message>
</context>
<context>
    <name>PageDownloads</name>
    <message>
        <source>Save File</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The download %1 failed: %2.</source>
        <translation>Der Download %1 ist fehlgeschlagen: %2.</translation>
    </message>
</context>
<context>
    <name>ReportFailure</name>
    <message>
        <source>the server answered %1</source>
        <translation>der Server antwortete mit %1</translation>
    </message>
    <message>
        <source>the server refused the connection</source>
        <translation>der Server hat die Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>the server&apos;s name was not found</source>
        <translation>der Name des Servers wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <translation>der Server hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>der Server hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>the server&apos;s certificate was refused</source>
        <translation>das Zertifikat des Servers wurde abgelehnt</translation>
    </message>
    <message>
        <source>its address cannot be downloaded</source>
        <translation>seine Adresse lässt sich nicht herunterladen</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>a folder has that name</source>
        <translation>ein Ordner trägt diesen Namen</translation>
    </message>
    <message>
        <source>its folder does not exist</source>
        <translation>sein Ordner existiert nicht</translation>
    </message>
    <message>
        <source>its folder may not be written to</source>
        <translation>in seinen Ordner darf nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The report %1 could not be downloaded: %2.</source>
        <translation>Der Bericht %1 konnte nicht heruntergeladen werden: %2.</translation>
    </message>
    <message>
        <source>The report %1 could not be downloaded: the server sent it elsewhere.</source>
        <translation>Der Bericht %1 konnte nicht heruntergeladen werden: der Server hat ihn anderswohin verwiesen.</translation>
    </message>
    <message>
        <source>A report could not be saved: no file name was given.</source>
        <translation>Ein Bericht konnte nicht gespeichert werden: es wurde kein Dateiname angegeben.</translation>
    </message>
    <message>
        <source>The report %1 could not be saved: %2.</source>
        <translation>Der Bericht %1 konnte nicht gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>The report %1 was not saved: a page may not save files there.</source>
        <translation>Der Bericht %1 wurde nicht gespeichert: eine Seite darf dort keine Dateien speichern.</translation>
    </message>
    <message>
        <source>the server sent %1 of %2 bytes</source>
        <translation>der Server hat %1 von %2 Bytes gesendet</translation>
    </message>
    <message>
        <source>the server sent %1 bytes where it declared %2</source>
        <translation>der Server hat %1 Bytes gesendet, angekündigt waren %2</translation>
    </message>
    <message>
        <source>the compressed report ended early</source>
        <translation>der komprimierte Bericht endete vorzeitig</translation>
    </message>
    <message>
        <source>the compressed report is damaged</source>
        <translation>der komprimierte Bericht ist beschädigt</translation>
    </message>
    <message>
        <source>the compressed report expands beyond any report</source>
        <translation>der komprimierte Bericht entpackt sich zu einer Größe, die kein Bericht hat</translation>
    </message>
    <message>
        <source>the server encoded it as %1, which cannot be read</source>
        <translation>der Server hat ihn als %1 kodiert, was sich nicht lesen lässt</translation>
    </message>
</context>
<context>
    <name>ShellWindow</name>
    <message>
        <source>The certificate of %1 was refused: %2</source>
        <translation>Das Zertifikat von %1 wurde abgelehnt: %2</translation>
    </message>
    <message>
        <source>The page could not be printed.</source>
        <translation>Die Seite konnte nicht gedruckt werden.</translation>
    </message>
</context>
<context>
    <name>UnreachablePage</name>
    <message>
        <source>en</source>
        <extracomment>The language code of this translation, for the page&apos;s readers (screen readers)</extracomment>
        <translation>de</translation>
    </message>
    <message>
        <source>Not reachable: %1</source>
        <extracomment>The window&apos;s title while the web application cannot be reached</extracomment>
        <translation>Nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>The web application cannot be reached</source>
        <translation>Die Webanwendung ist nicht erreichbar</translation>
    </message>
    <message>
        <source>Trying again in 1 second.</source>
        <translation>Neuer Versuch in 1 Sekunde.</translation>
    </message>
    <message>
        <source>Trying again in %1 seconds.</source>
        <extracomment>%1 is a number of seconds, more than one</extracomment>
        <translation>Neuer Versuch in %1 Sekunden.</translation>
    </message>
    <message>
        <source>Trying again…</source>
        <translation>Neuer Versuch läuft…</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Erneut versuchen</translation>
    </message>
</context>
<context>
    <name>UnreachableWatch</name>
    <message>
        <source>the server refused the connection</source>
        <translation>der Server hat die Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>the connection to the server was reset</source>
        <translation>die Verbindung zum Server wurde zurückgesetzt</translation>
    </message>
    <message>
        <source>the server closed the connection without answering</source>
        <translation>der Server hat die Verbindung ohne Antwort geschlossen</translation>
    </message>
    <message>
        <source>the connection to the server broke off</source>
        <translation>die Verbindung zum Server ist abgebrochen</translation>
    </message>
    <message>
        <source>the connection to the server failed</source>
        <translation>die Verbindung zum Server ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <translation>der Server hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>the server&apos;s name was not found</source>
        <translation>der Name des Servers wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the server&apos;s name could not be looked up</source>
        <translation>der Name des Servers konnte nicht aufgelöst werden</translation>
    </message>
    <message>
        <source>the server&apos;s address cannot be reached</source>
        <translation>die Adresse des Servers ist nicht erreichbar</translation>
    </message>
    <message>
        <source>this computer is not connected to a network</source>
        <translation>dieser Computer ist mit keinem Netzwerk verbunden</translation>
    </message>
    <message>
        <source>the network changed while connecting</source>
        <translation>das Netzwerk hat sich während des Verbindungsaufbaus geändert</translation>
    </message>
    <message>
        <source>the proxy server could not be reached</source>
        <translation>der Proxyserver ist nicht erreichbar</translation>
    </message>
    <message>
        <source>the proxy server could not reach the server</source>
        <translation>der Proxyserver konnte den Server nicht erreichen</translation>
    </message>
    <message>
        <source>the server&apos;s gateway got no answer from the web application (502)</source>
        <translation>das Gateway des Servers hat keine Antwort von der Webanwendung erhalten (502)</translation>
    </message>
    <message>
        <source>the web application is not available at the moment (503)</source>
        <translation>die Webanwendung ist im Moment nicht verfügbar (503)</translation>
    </message>
    <message>
        <source>the server&apos;s gateway waited for the web application in vain (504)</source>
        <translation>das Gateway des Servers hat vergeblich auf die Webanwendung gewartet (504)</translation>
    </message>
</context>
</TS>
