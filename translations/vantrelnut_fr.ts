<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>CommandLine</name>
    <message>
        <source>Desktop shell of the Mird colour-measurement web application.
Qt&apos;s own options (-platform, -style, ...) are accepted; the browser engine&apos;s
switches follow %1.</source>
        <translation>Programme de bureau de l&apos;application web de mesure des couleurs Mird.
Les options propres à Qt (-platform, -style, ...) sont acceptées&#xa0;; les options
du moteur de navigation suivent %1.</translation>
    </message>
    <message>
        <source>Shows this help and exits.</source>
        <translation>Affiche cette aide et quitte.</translation>
    </message>
    <message>
        <source>Shows the version and exits.</source>
        <translation>Affiche la version et quitte.</translation>
    </message>
    <message>
        <source>Writes the shell&apos;s own debug lines to standard error and the log.</source>
        <translation>Écrit les lignes de débogage propres au programme sur la sortie d&apos;erreur standard et dans le journal.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Argument inattendu &apos;%1&apos;.</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find in page</source>
        <translation>Rechercher dans la page</translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation>Résultat précédent</translation>
    </message>
    <message>
        <source>Next match</source>
        <translation>Résultat suivant</translation>
    </message>
    <message>
        <source>Close the find bar</source>
        <translation>Fermer la barre de recherche</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Introuvable</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>Log In</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>The proxy server %1 asks you to log in.</source>
        <translation>Le serveur mandataire %1 vous demande de vous connecter.</translation>
    </message>
    <message>
        <source>The server %1 asks you to log in.</source>
        <translation>Le serveur %1 vous demande de vous connecter.</translation>
    </message>
    <message>
        <source>Realm</source>
        <translation>Domaine</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>Nom d&apos;utilisateur :</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Mot de passe :</translation>
    </message>
</context>
<context>
    <name>MessageBar</name>
    <message>
        <source>Messages</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>Close this message</source>
        <translation>Fermer ce message</translation>
    </message>
</context>
<context>
    <name>PageDialogs</name>
    <message>
        <source>Leave this page? Changes you made may not be saved.</source>
        <translation>Quitter cette page ? Les modifications que vous avez faites risquent de ne pas être enregistrées.</translation>
    </message>
    <message>
        <source>&amp;Leave</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Stay</source>
        <translation>&amp;Rester</translation>
    </message>
</context>
<context>
    <name>PageDownloads</name>
    <message>
        <source>Save File</source>
        <translation>Enregistrer le fichier</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>The download %1 failed: %2.</source>
        <translation>Le téléchargement %1 a échoué : %2.</translation>
    </message>
</context>
<context>
    <name>ReportFailure</name>
    <message>
        <source>the server answered %1</source>
        <translation>le serveur a répondu %1</translation>
    </message>
    <message>
        <source>the server refused the connection</source>
        <translation>le serveur a refusé la connexion</translation>
    </message>
    <message>
        <source>the server&apos;s name was not found</source>
        <translation>le nom du serveur est introuvable</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <translation>le serveur n&apos;a pas répondu à temps</translation>
    </message>
    <message>
        <source>the server closed the connection</source>
        <translation>le serveur a fermé la connexion</translation>
    </message>
    <message>
        <source>the server&apos;s certificate was refused</source>
        <translation>le certificat du serveur a été refusé</translation>
    </message>
    <message>
        <source>its address cannot be downloaded</source>
        <translation>son adresse ne peut pas être téléchargée</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>le disque est plein</translation>
    </message>
    <message>
        <source>a folder has that name</source>
        <translation>un dossier porte ce nom</translation>
    </message>
    <message>
        <source>its folder does not exist</source>
        <translation>son dossier n&apos;existe pas</translation>
    </message>
    <message>
        <source>its folder may not be written to</source>
        <translation>son dossier n&apos;est pas accessible en écriture</translation>
    </message>
    <message>
        <source>The report %1 could not be downloaded: %2.</source>
        <translation>Le rapport %1 n&apos;a pas pu être téléchargé : %2.</translation>
    </message>
    <message>
        <source>The report %1 could not be downloaded: the server sent it elsewhere.</source>
        <translation>Le rapport %1 n&apos;a pas pu être téléchargé : le serveur l&apos;a renvoyé ailleurs.</translation>
    </message>
    <message>
        <source>A report could not be saved: no file name was given.</source>
        <translation>Un rapport n&apos;a pas pu être enregistré : aucun nom de fichier n&apos;a été donné.</translation>
    </message>
    <message>
        <source>The report %1 could not be saved: %2.</source>
        <translation>Le rapport %1 n&apos;a pas pu être enregistré : %2.</translation>
    </message>
    <message>
        <source>The report %1 was not saved: a page may not save files there.</source>
        <translation>Le rapport %1 n&apos;a pas été enregistré : une page ne peut pas y enregistrer de fichiers.</translation>
    </message>
    <message>
        <source>the server sent %1 of %2 bytes</source>
        <translation>le serveur a envoyé %1 octets sur %2</translation>
    </message>
    <message>
        <source>the server sent %1 bytes where it declared %2</source>
        <translation>le serveur a envoyé %1 octets au lieu des %2 annoncés</translation>
    </message>
    <message>
        <source>the compressed report ended early</source>
        <translation>le rapport compressé s&apos;est arrêté avant sa fin</translation>
    </message>
    <message>
        <source>the compressed report is damaged</source>
        <translation>le rapport compressé est endommagé</translation>
    </message>
    <message>
        <source>the compressed report expands beyond any report</source>
        <translation>le rapport compressé se décompresse bien au-delà de la taille d&apos;un rapport</translation>
    </message>
    <message>
        <source>the server encoded it as %1, which cannot be read</source>
        <translation>le serveur l&apos;a encodé en %1, qui ne peut pas être lu</translation>
    </message>
</context>
<context>
    <name>ShellWindow</name>
    <message>
        <source>The certificate of %1 was refused: %2</source>
        <translation>Le certificat de %1 a été refusé : %2</translation>
    </message>
    <message>
        <source>The page could not be printed.</source>
        <translation>La page n&apos;a pas pu être imprimée.</translation>
    </message>
</context>
<context>
    <name>UnreachablePage</name>
    <message>
        <source>en</source>
        <extracomment>The language code of this translation, for the page&apos;s readers (screen readers)</extracomment>
        <translation>fr</translation>
    </message>
    <message>
        <source>Not reachable: %1</source>
        <extracomment>The window&apos;s title while the web application cannot be reached</extracomment>
        <translation>Inaccessible&#xa0;: %1</translation>
    </message>
    <message>
        <source>The web application cannot be reached</source>
        <translation>L&apos;application web est inaccessible</translation>
    </message>
    <message>
        <source>Trying again in 1 second.</source>
        <translation>Nouvel essai dans 1 seconde.</translation>
    </message>
    <message>
        <source>Trying again in %1 seconds.</source>
        <extracomment>%1 is a number of seconds, more than one</extracomment>
        <translation>Nouvel essai dans %1 secondes.</translation>
    </message>
    <message>
        <source>Trying again…</source>
        <translation>Nouvel essai en cours…</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Réessayer</translation>
    </message>
</context>
<context>
    <name>UnreachableWatch</name>
    <message>
        <source>the server refused the connection</source>
        <translation>le serveur a refusé la connexion</translation>
    </message>
    <message>
        <source>the connection to the server was reset</source>
        <translation>la connexion au serveur a été réinitialisée</translation>
    </message>
    <message>
        <source>the server closed the connection without answering</source>
        <translation>le serveur a fermé la connexion sans répondre</translation>
    </message>
    <message>
        <source>the connection to the server broke off</source>
        <translation>la connexion au serveur a été interrompue</translation>
    </message>
    <message>
        <source>the connection to the server failed</source>
        <translation>la connexion au serveur a échoué</translation>
    </message>
    <message>
        <source>the server did not answer in time</source>
        <translation>le serveur n&apos;a pas répondu à temps</translation>
    </message>
    <message>
        <source>the server&apos;s name was not found</source>
        <translation>le nom du serveur est introuvable</translation>
    </message>
    <message>
        <source>the server&apos;s name could not be looked up</source>
        <translation>le nom du serveur n&apos;a pas pu être résolu</translation>
    </message>
    <message>
        <source>the server&apos;s address cannot be reached</source>
        <translation>l&apos;adresse du serveur est inaccessible</translation>
    </message>
    <message>
        <source>this computer is not connected to a network</source>
        <translation>cet ordinateur n&apos;est connecté à aucun réseau</translation>
    </message>
    <message>
        <source>the network changed while connecting</source>
        <translation>le réseau a changé pendant la connexion</translation>
    </message>
    <message>
        <source>the proxy server could not be reached</source>
        <translation>le serveur proxy est inaccessible</translation>
    </message>
    <message>
        <source>the proxy server could not reach the server</source>
        <translation>le serveur proxy n&apos;a pas pu joindre le serveur</translation>
    </message>
    <message>
        <source>the server&apos;s gateway got no answer from the web application (502)</source>
        <translation>la passerelle du serveur n&apos;a reçu aucune réponse de l&apos;application web (502)</translation>
    </message>
    <message>
        <source>the web application is not available at the moment (503)</source>
        <translation>l&apos;application web n&apos;est pas disponible pour le moment (503)</translation>
    </message>
    <message>
        <source>the server&apos;s gateway waited for the web application in vain (504)</source>
        <translation>la passerelle du serveur a attendu l&apos;application web en vain (504)</translation>
    </message>
</context>
</TS>
