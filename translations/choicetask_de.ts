<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>FeedbackTexts</name>
    <message>
        <source>Well done, you got: points!</source>
        <translation>Gut gemacht, Sie haben: Punkte!</translation>
    </message>
    <message>
        <source>It is possible to get a maximum of 760 points though...</source>
        <translation>Es sind allerdings höchstens 760 Punkte möglich ...</translation>
    </message>
    <message>
        <source>Take a break, then play the game again to see if you can beat your score</source>
        <translation>Machen Sie eine Pause und spielen Sie dann noch einmal: Können Sie Ihr Ergebnis übertreffen?</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Wait!</source>
        <translation>Moment!</translation>
    </message>
    <message>
        <source>Please let the experimenter see how much you earned before pressing OK and closing the game</source>
        <translation>Bitte zeigen Sie der Versuchsleitung, wie viel Sie verdient haben, bevor Sie auf OK klicken und das Spiel schließen</translation>
    </message>
    <message>
        <source>Well done, you got: %1 points!</source>
        <translation>Gut gemacht, Sie haben %1 Punkte erzielt!</translation>
    </message>
    <message>
        <source> That&apos;s the equivalent of %1</source>
        <translation> Das entspricht %1</translation>
    </message>
    <message>
        <source>That&apos;s %1 points more than you got last time. </source>
        <translation>Das sind %1 Punkte mehr als beim letzten Mal. </translation>
    </message>
    <message>
        <source>That&apos;s exactly the same as you got last time. </source>
        <translation>Das ist genau so viel wie beim letzten Mal. </translation>
    </message>
    <message>
        <source>...But that&apos;s %1 points less than you got last time. </source>
        <translation>... Aber das sind %1 Punkte weniger als beim letzten Mal. </translation>
    </message>
    <message>
        <source>Well done! You got the maximum possible score of 760</source>
        <translation>Gut gemacht! Sie haben die höchstmögliche Punktzahl von 760 erreicht</translation>
    </message>
    <message>
        <source>Although remember, the maximum possible score is 760</source>
        <translation>Denken Sie aber daran: Die höchstmögliche Punktzahl ist 760</translation>
    </message>
    <message>
        <source>That is the end of the Experiment. Thanks for taking part!</source>
        <translation>Das Experiment ist zu Ende. Danke für Ihre Teilnahme!</translation>
    </message>
    <message>
        <source> You earned %1 during the experiment. Please do not exit the program until the experimenter has noted the amount</source>
        <translation> Sie haben %1 verdient. Bitte beenden Sie das Programm erst, wenn die Versuchsleitung den Betrag notiert hat</translation>
    </message>
</context>
<context>
    <name>ParticipantIdTexts</name>
    <message>
        <source>Please type the participant ID number before pressing Run.</source>
        <translation>Bitte geben Sie die Teilnehmernummer ein, bevor Sie auf Start klicken.</translation>
    </message>
    <message>
        <source>%1 is not a participant ID number. Please type a number such as 7.</source>
        <translation>%1 ist keine Teilnehmernummer. Bitte geben Sie eine Zahl wie 7 ein.</translation>
    </message>
    <message>
        <source>%1 is outside the range of participant ID numbers (-32768 to 32767).</source>
        <translation>%1 liegt außerhalb des Bereichs der Teilnehmernummern (-32768 bis 32767).</translation>
    </message>
</context>
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>Wieder&amp;herstellen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Einf&amp;ügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
</context>
<context>
    <name>QScrollBar</name>
    <message>
        <source>Scroll here</source>
        <translation>Hierher scrollen</translation>
    </message>
    <message>
        <source>Left edge</source>
        <translation>Linker Rand</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Anfang</translation>
    </message>
    <message>
        <source>Right edge</source>
        <translation>Rechter Rand</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Page left</source>
        <translation>Eine Seite nach links</translation>
    </message>
    <message>
        <source>Page up</source>
        <translation>Eine Seite nach oben</translation>
    </message>
    <message>
        <source>Page right</source>
        <translation>Eine Seite nach rechts</translation>
    </message>
    <message>
        <source>Page down</source>
        <translation>Eine Seite nach unten</translation>
    </message>
    <message>
        <source>Scroll left</source>
        <translation>Nach links scrollen</translation>
    </message>
    <message>
        <source>Scroll up</source>
        <translation>Nach oben scrollen</translation>
    </message>
    <message>
        <source>Scroll right</source>
        <translation>Nach rechts scrollen</translation>
    </message>
    <message>
        <source>Scroll down</source>
        <translation>Nach unten scrollen</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy &amp;Link Location</source>
        <translation>&amp;Link-Adresse kopieren</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
</context>
<context>
    <name>ct::Experiment</name>
    <message>
        <source>%1

No participant has been registered.</source>
        <translation>%1

Es wurde kein Teilnehmer registriert.</translation>
    </message>
    <message>
        <source>The instruction file cannot be shown.

%1

No participant has been registered.</source>
        <translation>Die Anleitungsdatei kann nicht angezeigt werden.

%1

Es wurde kein Teilnehmer registriert.</translation>
    </message>
</context>
<context>
    <name>ct::SessionRecord</name>
    <message>
        <source>The session record could not be saved, so the experiment has to stop.

%1

The trials played so far are in the data file.</source>
        <translation>Das Sitzungsprotokoll konnte nicht gespeichert werden, daher muss das Experiment beendet werden.

%1

Die bisher gespielten Züge stehen in der Datendatei.</translation>
    </message>
</context>
<context>
    <name>ct::frmFeedback1</name>
    <message>
        <source>How Did You Do?</source>
        <translation>Wie ist es gelaufen?</translation>
    </message>
    <message>
        <source>Game %1 points</source>
        <translation>Spiel %1: Punkte</translation>
    </message>
    <message>
        <source>Game %1</source>
        <translation>Spiel %1</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Horizontal axis</source>
        <translation>Waagerechte Achse</translation>
    </message>
    <message>
        <source>Vertical axis</source>
        <translation>Senkrechte Achse</translation>
    </message>
    <message>
        <source>Surprised face</source>
        <translation>Überraschtes Gesicht</translation>
    </message>
    <message>
        <source>Knocked-out face</source>
        <translation>K.-o.-Gesicht</translation>
    </message>
    <message>
        <source>Neutral face</source>
        <translation>Neutrales Gesicht</translation>
    </message>
    <message>
        <source>Happy face</source>
        <translation>Fröhliches Gesicht</translation>
    </message>
    <message>
        <source>%1

The program stops now. The trials played so far are kept in the data file.</source>
        <translation>%1

Das Programm wird jetzt beendet. Die bisher gespielten Züge bleiben in der Datendatei erhalten.</translation>
    </message>
    <message>
        <source>No more games can be recorded: %1 games have been played already.</source>
        <translation>Es können keine weiteren Spiele erfasst werden: Es wurden bereits %1 Spiele gespielt.</translation>
    </message>
</context>
<context>
    <name>ct::frmInstructions</name>
    <message>
        <source>Instructions</source>
        <translation>Anleitung</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Click here to continue</source>
        <translation>Hier geht es weiter</translation>
    </message>
    <message>
        <source>The instruction file could not be shown.

%1</source>
        <translation>Die Anleitungsdatei konnte nicht angezeigt werden.

%1</translation>
    </message>
</context>
<context>
    <name>ct::frmSubjects</name>
    <message>
        <source>Subject info</source>
        <translation>Teilnehmerdaten</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Participant ID Number:</source>
        <translation>Teilnehmernummer:</translation>
    </message>
    <message>
        <source>Participant ID number</source>
        <translation>Teilnehmernummer</translation>
    </message>
</context>
<context>
    <name>ct::frmTesting2</name>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Click Go</source>
        <translation>Auf Los klicken</translation>
    </message>
    <message>
        <source>Choose</source>
        <translation>Wählen</translation>
    </message>
    <message>
        <source>End the experiment now?

All trials played so far are saved in the data file &quot;%1&quot;. If you end the experiment, the program closes and this game cannot be continued.</source>
        <translation>Das Experiment jetzt beenden?

Alle bisher gespielten Züge sind in der Datendatei &quot;%1&quot; gespeichert. Wenn Sie das Experiment beenden, schließt sich das Programm, und dieses Spiel kann nicht fortgesetzt werden.</translation>
    </message>
    <message>
        <source>Game</source>
        <translation>Spiel</translation>
    </message>
    <message>
        <source>Click left or right</source>
        <translation>Klicken Sie links oder rechts</translation>
    </message>
    <message>
        <source>Game Units Lost on last trial</source>
        <translation>Zuletzt verbrauchte Einheiten</translation>
    </message>
    <message>
        <source>Game units lost on last trial</source>
        <translation>Im letzten Zug verbrauchte Spieleinheiten</translation>
    </message>
    <message>
        <source>Game Units Remaining</source>
        <translation>Verbleibende Spieleinheiten</translation>
    </message>
    <message>
        <source>Game units remaining</source>
        <translation>Verbleibende Spieleinheiten</translation>
    </message>
    <message>
        <source>Last choice</source>
        <translation>Letzte Wahl</translation>
    </message>
    <message>
        <source>Total Points</source>
        <translation>Punkte gesamt</translation>
    </message>
    <message>
        <source>Total points</source>
        <translation>Punkte gesamt</translation>
    </message>
    <message>
        <source>Points on last trial</source>
        <translation>Punkte im letzten Zug</translation>
    </message>
    <message>
        <source>Does nothing</source>
        <translation>Ohne Funktion</translation>
    </message>
    <message>
        <source>Start game</source>
        <translation>Spiel starten</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>Los</translation>
    </message>
    <message>
        <source>Dot %1</source>
        <translation>Kugel %1</translation>
    </message>
    <message>
        <source>Mover</source>
        <translation>Figur</translation>
    </message>
    <message>
        <source>Mouth open</source>
        <translation>Mund offen</translation>
    </message>
    <message>
        <source>Mouth closed</source>
        <translation>Mund geschlossen</translation>
    </message>
    <message>
        <source>Game units remaining bar</source>
        <translation>Balken der verbleibenden Spieleinheiten</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>CHOOSE</source>
        <translation>WÄHLEN</translation>
    </message>
    <message>
        <source>Trial %1 was saved in the data file, but then the system reported a fault, so the experiment has to stop.

%2

All trials played so far, this one included, are in the file.</source>
        <translation>Zug %1 wurde in der Datendatei gespeichert, danach hat das System jedoch einen Fehler gemeldet, daher muss das Experiment beendet werden.

%2

Alle bisher gespielten Züge, auch dieser, stehen in der Datei.</translation>
    </message>
    <message>
        <source>Trial %1 could not be saved in the data file, so the experiment has to stop.

%2

The trials played before it are in the file.</source>
        <translation>Zug %1 konnte nicht in der Datendatei gespeichert werden, daher muss das Experiment beendet werden.

%2

Die zuvor gespielten Züge stehen in der Datei.</translation>
    </message>
</context>
</TS>
