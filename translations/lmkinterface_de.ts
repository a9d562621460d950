<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="de_DE">
<context>
    <name>lmk</name>
    <message>
        <source>USB / WLAN Interface to LMK54/55</source>
        <translation>USB-/WLAN-Schnittstelle zum LMK54/55</translation>
    </message>
    <message>
        <source>USB-Device:</source>
        <translation>USB-Gerät:</translation>
    </message>
    <message>
        <source>WLAN Access to Device:</source>
        <translation>WLAN zum Gerät:</translation>
    </message>
    <message>
        <source>Update 54/55</source>
        <translation>Update 54/55</translation>
    </message>
    <message>
        <source>Display Copy</source>
        <translation>Bildschirmkopie</translation>
    </message>
    <message>
        <source>LMK25E</source>
        <translation>LMK25E</translation>
    </message>
    <message>
        <source>Speicherplätze</source>
        <translation>Speicherplätze</translation>
    </message>
    <message>
        <source>USB Terminal</source>
        <translation>USB-Terminal</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Interface</source>
        <translation>&amp;Schnittstelle</translation>
    </message>
    <message>
        <source>Find &amp;USB Device</source>
        <translation>&amp;USB-Gerät suchen</translation>
    </message>
    <message>
        <source>Find &amp;WLAN Connection</source>
        <translation>&amp;WLAN-Verbindung suchen</translation>
    </message>
    <message>
        <source>Receiver &amp;Address…</source>
        <translation>&amp;Adresse des Empfängers…</translation>
    </message>
    <message>
        <source>Receiver Address</source>
        <translation>Adresse des Empfängers</translation>
    </message>
    <message>
        <source>Memory &amp;Slots…</source>
        <translation>&amp;Speicherplätze…</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>Deutsch</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>&amp;Desktop style</source>
        <translation>&amp;Desktop-Stil</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Transfer to</source>
        <translation>Übertragen nach</translation>
    </message>
    <message>
        <source>LMK35 (Configuration)</source>
        <translation>LMK35 (Konfiguration)</translation>
    </message>
    <message>
        <source>External (Update Task)</source>
        <translation>Extern (Update-Task)</translation>
    </message>
    <message>
        <source>External Tasks</source>
        <translation>Externe Tasks</translation>
    </message>
    <message>
        <source>No tasks found!</source>
        <translation>Keine Tasks gefunden!</translation>
    </message>
    <message>
        <source>No Tasks found!</source>
        <translation>Keine Tasks gefunden!</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Synchronize</source>
        <translation>Synchronisieren</translation>
    </message>
    <message>
        <source>Bootloader active</source>
        <translation>Bootloader aktiv</translation>
    </message>
    <message>
        <source>Configuration active</source>
        <translation>Konfiguration aktiv</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Hochladen</translation>
    </message>
    <message>
        <source>Bytes sent:</source>
        <translation>Bytes gesendet:</translation>
    </message>
    <message>
        <source>Bytes sent: %1</source>
        <translation>Bytes gesendet: %1</translation>
    </message>
    <message>
        <source>Clearing memory:</source>
        <translation>Speicher wird gelöscht:</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Upload rate</source>
        <translation>Übertragungsrate</translation>
    </message>
    <message>
        <source>Upload time left</source>
        <translation>Restzeit der Übertragung</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Abtasten</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>Record…</source>
        <translation>Aufnehmen…</translation>
    </message>
    <message>
        <source>Recorded frames</source>
        <translation>Aufgenommene Bilder</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Column:</source>
        <translation>Spalte:</translation>
    </message>
    <message>
        <source>Scan progress</source>
        <translation>Fortschritt der Abtastung</translation>
    </message>
    <message>
        <source>Scan rate</source>
        <translation>Abtastrate</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>Bereich</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>W:</source>
        <translation>B:</translation>
    </message>
    <message>
        <source>H:</source>
        <translation>H:</translation>
    </message>
    <message>
        <source>Full VGA</source>
        <translation>VGA ganz</translation>
    </message>
    <message>
        <source>Full WVGA</source>
        <translation>WVGA ganz</translation>
    </message>
    <message>
        <source>Diagram VGA</source>
        <translation>Diagramm VGA</translation>
    </message>
    <message>
        <source>Diagram WVGA</source>
        <translation>Diagramm WVGA</translation>
    </message>
    <message>
        <source>Frame:</source>
        <translation>Rahmen:</translation>
    </message>
    <message>
        <source>To Clipboard</source>
        <translation>In die Zwischenablage</translation>
    </message>
    <message>
        <source>%1 frames/s</source>
        <translation>%1 Bilder/s</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>WiFi Access Point Configuration</source>
        <translation>Einstellungen des WLAN-Zugangspunkts</translation>
    </message>
    <message>
        <source>Name (SSID)</source>
        <translation>Name (SSID)</translation>
    </message>
    <message>
        <source>Passkey</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>TX-Power</source>
        <translation>Sendeleistung</translation>
    </message>
    <message>
        <source>dBm</source>
        <translation>dBm</translation>
    </message>
    <message>
        <source>Set!</source>
        <translation>Setzen!</translation>
    </message>
    <message>
        <source>Access point warnings</source>
        <translation>Warnungen zum Zugangspunkt</translation>
    </message>
    <message>
        <source>Datei:</source>
        <translation>Datei:</translation>
    </message>
    <message>
        <source>keine</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Speicherplätze:</source>
        <translation>Speicherplätze:</translation>
    </message>
    <message>
        <source>Laden vom LMK54</source>
        <translation>Laden vom LMK54</translation>
    </message>
    <message>
        <source>Bytes:</source>
        <translation>Bytes:</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>Speichern im LMK54</source>
        <translation>Speichern im LMK54</translation>
    </message>
    <message>
        <source>Alles Löschen</source>
        <translation>Alles löschen</translation>
    </message>
    <message>
        <source>Platz</source>
        <translation>Platz</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Frequenz</source>
        <translation>Frequenz</translation>
    </message>
    <message>
        <source>Modulation</source>
        <translation>Modulation</translation>
    </message>
    <message>
        <source>Bandbreite</source>
        <translation>Bandbreite</translation>
    </message>
    <message>
        <source>Verschiebung</source>
        <translation>Verschiebung</translation>
    </message>
    <message>
        <source>Hochpass</source>
        <translation>Hochpass</translation>
    </message>
    <message>
        <source>Eingang</source>
        <translation>Eingang</translation>
    </message>
    <message>
        <source>Abschwächer</source>
        <translation>Abschwächer</translation>
    </message>
    <message>
        <source>Filter HP</source>
        <translation>Filter HP</translation>
    </message>
    <message>
        <source>Filter TP</source>
        <translation>Filter TP</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Sample: %1</source>
        <translation>Abtastwert: %1</translation>
    </message>
    <message>
        <source>Samplerate: %1</source>
        <translation>Abtastrate: %1</translation>
    </message>
    <message>
        <source>Spektrum mit Messgenauigkeit</source>
        <translation>Spektrum mit Messgenauigkeit</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Abtastwert</translation>
    </message>
    <message>
        <source>Ebene</source>
        <translation>Ebene</translation>
    </message>
    <message>
        <source>Ebene -</source>
        <translation>Ebene -</translation>
    </message>
    <message>
        <source>Ebene +</source>
        <translation>Ebene +</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Erfassen</translation>
    </message>
    <message>
        <source>Ende</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>keine Audio-Device</source>
        <translation>kein Audiogerät</translation>
    </message>
    <message>
        <source>Audio-Device:</source>
        <translation>Audiogerät:</translation>
    </message>
    <message>
        <source>Verwendung möglich</source>
        <translation>Verwendung möglich</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Interfaceprogramm für LMK54</source>
        <translation>Interfaceprogramm für LMK54</translation>
    </message>
    <message>
        <source>Hergestellt von</source>
        <translation>Hergestellt von</translation>
    </message>
    <message>
        <source>Funkmesstechnik Beispiel GmbH</source>
        <translation>Funkmesstechnik Beispiel GmbH</translation>
    </message>
    <message>
        <source>Am Sendemast 7</source>
        <translation>Am Sendemast 7</translation>
    </message>
    <message>
        <source>12345 Musterstadt</source>
        <translation>12345 Musterstadt</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Memory Slots[*]</source>
        <translation>Speicherplätze[*]</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>Ö&amp;ffnen…</translation>
    </message>
    <message>
        <source>&amp;Save…</source>
        <translation>&amp;Speichern…</translation>
    </message>
    <message>
        <source>&amp;Export CSV…</source>
        <translation>CSV &amp;exportieren…</translation>
    </message>
    <message>
        <source>&amp;Import CSV…</source>
        <translation>CSV &amp;importieren…</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>Cu&amp;t Slots</source>
        <translation>Speicherplätze &amp;ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy Slots</source>
        <translation>Speicherplätze &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste Slots</source>
        <translation>Speicherplätze &amp;einfügen</translation>
    </message>
    <message>
        <source>C&amp;lear Slots</source>
        <translation>Speicherplätze &amp;leeren</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>Compare with &amp;receiver</source>
        <translation>Mit dem &amp;Empfänger vergleichen</translation>
    </message>
    <message>
        <source>Memory editor status</source>
        <translation>Status des Speicherplatz-Editors</translation>
    </message>
    <message>
        <source>Cyclone Design File *.RPD</source>
        <translation>Cyclone-Design-Datei *.RPD</translation>
    </message>
    <message>
        <source>Memory file *.Mem</source>
        <translation>Speicherplatz-Datei *.Mem</translation>
    </message>
    <message>
        <source>Speicherplatz-Datei *.Mem</source>
        <translation>Speicherplatz-Datei *.Mem</translation>
    </message>
    <message>
        <source>Bitmap *.BMP</source>
        <translation>Bilddatei *.BMP</translation>
    </message>
    <message>
        <source>Bilddatei *.BMP</source>
        <translation>Bilddatei *.BMP</translation>
    </message>
    <message>
        <source>PNG-Bild *.PNG</source>
        <translation>PNG-Bild *.PNG</translation>
    </message>
    <message>
        <source>CSV file *.csv</source>
        <translation>CSV-Datei *.csv</translation>
    </message>
    <message>
        <source>Close application?</source>
        <translation>Programm beenden?</translation>
    </message>
    <message>
        <source>Access Point LMK5x not found!</source>
        <translation>Zugangspunkt LMK5x nicht gefunden!</translation>
    </message>
    <message>
        <source>Wirklich alle Speicherplätze im LMK54 löschen?</source>
        <translation>Wirklich alle Speicherplätze im LMK54 löschen?</translation>
    </message>
    <message>
        <source>Name / SSID muss 10 Zeichen lang sein!</source>
        <translation>Name / SSID muss 10 Zeichen lang sein!</translation>
    </message>
    <message>
        <source>Passwort muss 22 Zeichen lang sein!</source>
        <translation>Passwort muss 22 Zeichen lang sein!</translation>
    </message>
    <message>
        <source>Fehler beim Speichern!</source>
        <translation>Fehler beim Speichern!</translation>
    </message>
    <message>
        <source>No connection available!</source>
        <translation>Keine Verbindung vorhanden!</translation>
    </message>
    <message>
        <source>No USB connection available!</source>
        <translation>Keine USB-Verbindung vorhanden!</translation>
    </message>
    <message>
        <source>No connection or file available!</source>
        <translation>Keine Verbindung oder keine Datei vorhanden!</translation>
    </message>
    <message>
        <source>File cannot be loaded into LMK!</source>
        <translation>Die Datei kann nicht in den LMK geladen werden!</translation>
    </message>
    <message>
        <source>File transfer finished successfully!</source>
        <translation>Dateiübertragung erfolgreich beendet!</translation>
    </message>
    <message>
        <source>Exception caused by device driver!</source>
        <translation>Ausnahme im Gerätetreiber!</translation>
    </message>
    <message>
        <source>All data received!</source>
        <translation>Alle Daten empfangen!</translation>
    </message>
    <message>
        <source>Timeout: Device doesn't respond!</source>
        <translation>Zeitüberschreitung: Das Gerät antwortet nicht!</translation>
    </message>
    <message>
        <source>Device doesn't respond!</source>
        <translation>Das Gerät antwortet nicht!</translation>
    </message>
    <message>
        <source>LMK doesn't respond to WLAN!</source>
        <translation>Der LMK antwortet nicht über WLAN!</translation>
    </message>
    <message>
        <source>Error on reading!</source>
        <translation>Fehler beim Lesen!</translation>
    </message>
    <message>
        <source>Error on saving!</source>
        <translation>Fehler beim Speichern!</translation>
    </message>
    <message>
        <source>Read from LMK54!</source>
        <translation>Aus dem LMK54 gelesen!</translation>
    </message>
    <message>
        <source>Transfer finished!</source>
        <translation>Übertragung beendet!</translation>
    </message>
    <message>
        <source>Try to read out...</source>
        <translation>Versuche auszulesen...</translation>
    </message>
    <message>
        <source>Bootloader not active!</source>
        <translation>Bootloader nicht aktiv!</translation>
    </message>
    <message>
        <source>File not related to selected task, load?</source>
        <translation>Die Datei gehört nicht zum gewählten Task. Trotzdem laden?</translation>
    </message>
    <message>
        <source>Line too long: at most 253 characters can be sent!</source>
        <translation>Zeile zu lang: Höchstens 253 Zeichen können gesendet werden!</translation>
    </message>
    <message>
        <source>&amp;Backups…</source>
        <translation>Si&amp;cherungen…</translation>
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
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Cl&amp;ear Slots</source>
        <translation>Speicherplätze &amp;leeren</translation>
    </message>
    <message>
        <source>&amp;Insert Empty Slot</source>
        <translation>Leeren Speicherplatz e&amp;infügen</translation>
    </message>
    <message>
        <source>&amp;Delete Slots</source>
        <translation>Speicherplätze en&amp;tfernen</translation>
    </message>
    <message>
        <source>&amp;Move Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>Sort by &amp;Frequency</source>
        <translation>Nach &amp;Frequenz sortieren</translation>
    </message>
    <message>
        <source>Sort by &amp;Name</source>
        <translation>Nach &amp;Name sortieren</translation>
    </message>
    <message>
        <source>Compare with Recei&amp;ver</source>
        <translation>Mit dem Em&amp;pfänger vergleichen</translation>
    </message>
    <message>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Colour %1</source>
        <translation>Farbe %1</translation>
    </message>
    <message>
        <source>Scan picture</source>
        <translation>Abgetastetes Bild</translation>
    </message>
    <message>
        <source>Choose the .RPD file to upload with File ▸ Open (Alt+F, O)</source>
        <translation>Die .RPD-Datei zum Hochladen mit Datei ▸ Öffnen wählen (Alt+D, F)</translation>
    </message>
    <message>
        <source>%1 is set in the environment; it wins over the address saved here as long as it is set.</source>
        <translation>%1 ist in der Umgebung gesetzt und gilt statt der hier gespeicherten Adresse, solange es gesetzt ist.</translation>
    </message>
    <message>
        <source>%1 and %2 are set in the environment; they win over the address saved here as long as they are set.</source>
        <translation>%1 und %2 sind in der Umgebung gesetzt und gelten statt der hier gespeicherten Adresse, solange sie gesetzt sind.</translation>
    </message>
    <message>
        <source>Saved for later runs, and used by lmkctl too. Interface &gt; Find WLAN Connection connects to it.</source>
        <translation>Wird für spätere Starts gespeichert und auch von lmkctl benutzt. Schnittstelle &gt; WLAN-Verbindung suchen verbindet sich damit.</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation>&amp;Host:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>Scale:</source>
        <translation>Maßstab:</translation>
    </message>
    <message>
        <source>The memory slots have changes that are not saved. Open another file anyway?</source>
        <translation>Die Speicherplätze haben ungespeicherte Änderungen. Trotzdem eine andere Datei öffnen?</translation>
    </message>
    <message>
        <source>The memory slots have changes that are not saved. Close the application anyway?</source>
        <translation>Die Speicherplätze haben ungespeicherte Änderungen. Das Programm trotzdem beenden?</translation>
    </message>
    <message>
        <source>The memory slots have changes that are not saved. Close the editor anyway?</source>
        <translation>Die Speicherplätze haben ungespeicherte Änderungen. Den Editor trotzdem schließen?</translation>
    </message>
    <message>
        <source>The memory slots have changes that are not saved. Read the receiver's slots over them?</source>
        <translation>Die Speicherplätze haben ungespeicherte Änderungen. Trotzdem die Speicherplätze des Empfängers darüber lesen?</translation>
    </message>
    <message>
        <source>The memory slots are being transferred; wait until that has finished.</source>
        <translation>Die Speicherplätze werden gerade übertragen; bitte warten, bis das beendet ist.</translation>
    </message>
    <message>
        <source>The memory slots are being transferred; nothing was changed.</source>
        <translation>Die Speicherplätze werden gerade übertragen; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The memory slots are being transferred; wait until that has finished, then clear them.</source>
        <translation>Die Speicherplätze werden gerade übertragen; bitte warten, bis das beendet ist, und dann löschen.</translation>
    </message>
    <message>
        <source>%1: %2 %3 written</source>
        <translation>%1: %2 %3 geschrieben</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme läuft</translation>
    </message>
    <message>
        <source>Recorded</source>
        <translation>Aufgenommen</translation>
    </message>
    <message>
        <source>frame</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>frames</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Cannot create file "%1". %2</source>
        <translation>Die Datei „%1“ kann nicht angelegt werden. %2</translation>
    </message>
    <message>
        <source>Cannot open file "%1". %2</source>
        <translation>Die Datei „%1“ kann nicht geöffnet werden. %2</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>&amp;Folder:</source>
        <translation>&amp;Ordner:</translation>
    </message>
    <message>
        <source>&amp;Numbered (frame-0001.png)</source>
        <translation>&amp;Nummeriert (frame-0001.png)</translation>
    </message>
    <message>
        <source>&amp;Time-stamped (frame-YYYYMMDD-HHMMSS.png)</source>
        <translation>Mit &amp;Zeitstempel (frame-JJJJMMTT-HHMMSS.png)</translation>
    </message>
    <message>
        <source>Names:</source>
        <translation>Namen:</translation>
    </message>
    <message>
        <source>every frame</source>
        <translation>jedes Bild</translation>
    </message>
    <message>
        <source>&amp;One frame every:</source>
        <translation>&amp;Ein Bild alle:</translation>
    </message>
    <message>
        <source>%1[*] - Memory Slots</source>
        <translation>%1[*] - Speicherplätze</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>Exportiert nach %1</translation>
    </message>
    <message>
        <source>Import CSV</source>
        <translation>CSV importieren</translation>
    </message>
    <message>
        <source>Imported %1</source>
        <translation>Importiert: %1</translation>
    </message>
    <message>
        <source>%1 slot(s) copied</source>
        <translation>%1 Speicherplatz/-plätze kopiert</translation>
    </message>
    <message>
        <source>%1 cell(s) copied</source>
        <translation>%1 Zelle(n) kopiert</translation>
    </message>
    <message>
        <source>Only whole slots can be cut: select their rows by the slot numbers. Nothing was changed.</source>
        <translation>Nur ganze Speicherplätze können ausgeschnitten werden: ihre Zeilen an den Nummern wählen. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>%1 slot(s) cut</source>
        <translation>%1 Speicherplatz/-plätze ausgeschnitten</translation>
    </message>
    <message>
        <source>Paste Slots</source>
        <translation>Speicherplätze einfügen</translation>
    </message>
    <message>
        <source>%1 slot(s) pasted</source>
        <translation>%1 Speicherplatz/-plätze eingefügt</translation>
    </message>
    <message>
        <source>Pasted %1 row(s) of cells</source>
        <translation>%1 Zeile(n) Zellen eingefügt</translation>
    </message>
    <message>
        <source>Only whole slots can be cleared: select their rows by the slot numbers. Nothing was changed.</source>
        <translation>Nur ganze Speicherplätze können geleert werden: ihre Zeilen an den Nummern wählen. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Clear Slots</source>
        <translation>Speicherplätze leeren</translation>
    </message>
    <message>
        <source>Slot 63 is not empty and falls off the end when an empty slot is inserted at slot %1. Insert anyway?</source>
        <translation>Speicherplatz 63 ist nicht leer und fällt heraus, wenn bei Speicherplatz %1 ein leerer eingefügt wird. Trotzdem einfügen?</translation>
    </message>
    <message>
        <source>Insert Slot %1</source>
        <translation>Speicherplatz %1 einfügen</translation>
    </message>
    <message>
        <source>Delete Slot %1</source>
        <translation>Speicherplatz %1 entfernen</translation>
    </message>
    <message>
        <source>Delete %1 Slots</source>
        <translation>%1 Speicherplätze entfernen</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Select the slots to sort.</source>
        <translation>Die zu sortierenden Speicherplätze wählen.</translation>
    </message>
    <message>
        <source>Sort by Frequency</source>
        <translation>Nach Frequenz sortieren</translation>
    </message>
    <message>
        <source>Sort by Name</source>
        <translation>Nach Name sortieren</translation>
    </message>
    <message>
        <source>Reading the receiver's slots…</source>
        <translation>Die Speicherplätze des Empfängers werden gelesen…</translation>
    </message>
    <message>
        <source>The receiver's slots could not be read: %1</source>
        <translation>Die Speicherplätze des Empfängers konnten nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The image equals the receiver's slots.</source>
        <translation>Das Abbild gleicht den Speicherplätzen des Empfängers.</translation>
    </message>
    <message>
        <source>Slots that differ from the receiver: %1</source>
        <translation>Vom Empfänger abweichende Speicherplätze: %1</translation>
    </message>
    <message>
        <source>Reading the receiver's slots for a backup…</source>
        <translation>Die Speicherplätze des Empfängers werden für eine Sicherung gelesen…</translation>
    </message>
    <message>
        <source>Backup of the receiver's slots: %1</source>
        <translation>Sicherung der Speicherplätze des Empfängers: %1</translation>
    </message>
    <message>
        <source>Backups of the receiver's slots</source>
        <translation>Sicherungen der Speicherplätze des Empfängers</translation>
    </message>
    <message>
        <source>&amp;Backups, newest first:</source>
        <translation>&amp;Sicherungen, die neueste zuerst:</translation>
    </message>
    <message>
        <source>Backups</source>
        <translation>Sicherungen</translation>
    </message>
    <message>
        <source>%1   cannot be read</source>
        <translation>%1   nicht lesbar</translation>
    </message>
    <message>
        <source>%1   same as the slots shown</source>
        <translation>%1   wie die angezeigten Speicherplätze</translation>
    </message>
    <message>
        <source>%1   1 slot differs</source>
        <translation>%1   1 Speicherplatz weicht ab</translation>
    </message>
    <message>
        <source>%1   %2 slots differ</source>
        <translation>%1   %2 Speicherplätze weichen ab</translation>
    </message>
    <message>
        <source>Choose a backup first.</source>
        <translation>Zuerst eine Sicherung wählen.</translation>
    </message>
    <message>
        <source>Open Backup %1</source>
        <translation>Sicherung %1 öffnen</translation>
    </message>
    <message>
        <source>The block of %1 x %2 cells does not fit from slot %3, %4 on; nothing was changed.</source>
        <translation>Der Block von %1 x %2 Zellen passt nicht ab Speicherplatz %3, %4; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Slot %1: %2; nothing was changed.</source>
        <translation>Speicherplatz %1: %2; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Edit %1 of slot %2</source>
        <translation>%1 von Speicherplatz %2 ändern</translation>
    </message>
    <message>
        <source>Paste %1 cells</source>
        <translation>%1 Zellen einfügen</translation>
    </message>
    <message>
        <source>Read from receiver</source>
        <translation>Vom Empfänger gelesen</translation>
    </message>
    <message>
        <source>Slots replaced</source>
        <translation>Speicherplätze ersetzt</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Reading the memory slots</source>
        <translation>Das Lesen der Speicherplätze</translation>
    </message>
    <message>
        <source>Writing the memory slots</source>
        <translation>Das Schreiben der Speicherplätze</translation>
    </message>
    <message>
        <source>Clearing the memory slots</source>
        <translation>Das Löschen der Speicherplätze</translation>
    </message>
    <message>
        <source>%1 stopped at slot %2 of 63: %3.</source>
        <translation>%1 endete bei Speicherplatz %2 von 63: %3.</translation>
    </message>
    <message>
        <source>no slot was changed</source>
        <translation>kein Speicherplatz wurde geändert</translation>
    </message>
    <message>
        <source>no slot was cleared</source>
        <translation>kein Speicherplatz wurde gelöscht</translation>
    </message>
    <message>
        <source>slot 1 holds the new data</source>
        <translation>Speicherplatz 1 hält die neuen Daten</translation>
    </message>
    <message>
        <source>slot 1 is cleared</source>
        <translation>Speicherplatz 1 ist gelöscht</translation>
    </message>
    <message>
        <source>slots 1–%1 hold the new data</source>
        <translation>die Speicherplätze 1–%1 halten die neuen Daten</translation>
    </message>
    <message>
        <source>slots 1–%1 are cleared</source>
        <translation>die Speicherplätze 1–%1 sind gelöscht</translation>
    </message>
    <message>
        <source>Reading slot %1 of 63…</source>
        <translation>Speicherplatz %1 von 63 wird gelesen…</translation>
    </message>
    <message>
        <source>Writing slot %1 of 63…</source>
        <translation>Speicherplatz %1 von 63 wird geschrieben…</translation>
    </message>
    <message>
        <source>Clearing slot %1 of 63…</source>
        <translation>Speicherplatz %1 von 63 wird gelöscht…</translation>
    </message>
    <message>
        <source>Reading the slots back…</source>
        <translation>Die Speicherplätze werden zurückgelesen…</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>Scan incomplete: %1 of %2 columns missing!</source>
        <translation>Abtastung unvollständig: %1 von %2 Spalten fehlen!</translation>
    </message>
    <message>
        <source>%1 is running: try again when it has ended.</source>
        <translation>%1 läuft: bitte erneut versuchen, wenn es beendet ist.</translation>
    </message>
    <message>
        <source>No connection or no file available!</source>
        <translation>Keine Verbindung oder keine Datei vorhanden!</translation>
    </message>
    <message>
        <source>Task id %1 is larger than FFFF and cannot be sent: nothing loaded!</source>
        <translation>Die Task-ID %1 ist größer als FFFF und kann nicht gesendet werden: nichts geladen!</translation>
    </message>
    <message>
        <source>File "%1" is empty: there is nothing to load.</source>
        <translation>Die Datei „%1“ ist leer: Es gibt nichts zu laden.</translation>
    </message>
    <message>
        <source>File "%1" cannot be read: %2</source>
        <translation>Die Datei „%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>File "%1" is %2 bytes; at most %3 bytes (%4 MiB) can be loaded into the receiver.</source>
        <translation>Die Datei „%1“ hat %2 Bytes; höchstens %3 Bytes (%4 MiB) können in den Empfänger geladen werden.</translation>
    </message>
    <message>
        <source>It is %1, not a regular file.</source>
        <translation>Es ist %1, keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>It is %1, not a regular file, and is not replaced.</source>
        <translation>Es ist %1, keine gewöhnliche Datei, und wird nicht ersetzt.</translation>
    </message>
    <message>
        <source>a FIFO (named pipe)</source>
        <translation>ein FIFO (benannte Pipe)</translation>
    </message>
    <message>
        <source>a character device</source>
        <translation>ein zeichenorientiertes Gerät</translation>
    </message>
    <message>
        <source>a block device</source>
        <translation>ein blockorientiertes Gerät</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>keine Datei</translation>
    </message>
    <message>
        <source>Line not sent: the receiver cannot take the characters %1</source>
        <translation>Zeile nicht gesendet: Der Empfänger kann die Zeichen %1 nicht annehmen</translation>
    </message>
    <message>
        <source>Name (SSID) "%1" is longer than 10 characters: it would be cut!</source>
        <translation>Name (SSID) „%1“ ist länger als 10 Zeichen: Er würde gekürzt!</translation>
    </message>
    <message>
        <source>Passkey "%1" is longer than 22 characters: it would be cut!</source>
        <translation>Passwort „%1“ ist länger als 22 Zeichen: Es würde gekürzt!</translation>
    </message>
    <message>
        <source>Name (SSID) "%1" holds characters the WiFi module cannot take: %2</source>
        <translation>Name (SSID) „%1“ enthält Zeichen, die das WLAN-Modul nicht annimmt: %2</translation>
    </message>
    <message>
        <source>Passkey "%1" holds characters the WiFi module cannot take: %2</source>
        <translation>Passwort „%1“ enthält Zeichen, die das WLAN-Modul nicht annimmt: %2</translation>
    </message>
    <message>
        <source>The receiver reported channel "%1", not a number from 0 to 11: choose the channel!</source>
        <translation>Der Empfänger meldete Kanal „%1“, keine Zahl von 0 bis 11: Bitte den Kanal wählen!</translation>
    </message>
    <message>
        <source>The receiver reported TX-Power "%1", not a number from 0 to 19: choose the power!</source>
        <translation>Der Empfänger meldete Sendeleistung „%1“, keine Zahl von 0 bis 19: Bitte die Leistung wählen!</translation>
    </message>
    <message>
        <source>Unexpected reply from the device (code 0x%1).</source>
        <translation>Unerwartete Antwort des Geräts (Code 0x%1).</translation>
    </message>
    <message>
        <source>No backup of the receiver's slots: %1</source>
        <translation>Keine Sicherung der Speicherplätze des Empfängers: %1</translation>
    </message>
    <message>
        <source>no connection to the receiver</source>
        <translation>keine Verbindung zum Empfänger</translation>
    </message>
    <message>
        <source>another slot operation is running</source>
        <translation>ein anderer Speicherplatz-Vorgang läuft</translation>
    </message>
    <message>
        <source>the connection was lost</source>
        <translation>die Verbindung ging verloren</translation>
    </message>
    <message>
        <source>the read failed</source>
        <translation>das Lesen schlug fehl</translation>
    </message>
    <message>
        <source>the receiver answered for %1 of 63 slots</source>
        <translation>der Empfänger antwortete für %1 von 63 Speicherplätzen</translation>
    </message>
    <message>
        <source>the slots equal this newest backup; no new one was stored</source>
        <translation>die Speicherplätze gleichen der neuesten Sicherung; keine neue wurde gespeichert</translation>
    </message>
    <message>
        <source>63 slots written and verified</source>
        <translation>63 Speicherplätze geschrieben und geprüft</translation>
    </message>
    <message>
        <source>63 slots written; reading them back failed: %1</source>
        <translation>63 Speicherplätze geschrieben; das Zurücklesen schlug fehl: %1</translation>
    </message>
    <message>
        <source>Name "%1" is longer than %2 characters</source>
        <translation>Name „%1“ ist länger als %2 Zeichen</translation>
    </message>
    <message>
        <source>Platz is the slot's number and cannot be changed</source>
        <translation>Platz ist die Nummer des Speicherplatzes und kann nicht geändert werden</translation>
    </message>
    <message>
        <source>Find WLAN Connection</source>
        <translation>WLAN-Verbindung suchen</translation>
    </message>
    <message>
        <source>kein Audio-Device</source>
        <translation>kein Audiogerät</translation>
    </message>
    <message>
        <source>The CSV text has no header row.</source>
        <translation>Der CSV-Text hat keine Kopfzeile.</translation>
    </message>
    <message>
        <source>The CSV text is larger than 1 MiB.</source>
        <translation>Der CSV-Text ist größer als 1 MiB.</translation>
    </message>
    <message>
        <source>Line %1, column %2: %3</source>
        <translation>Zeile %1, Spalte %2: %3</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>Write failed</source>
        <translation>Schreiben fehlgeschlagen</translation>
    </message>
    <message>
        <source>No folder for backups.</source>
        <translation>Kein Ordner für Sicherungen.</translation>
    </message>
    <message>
        <source>Cannot create the backup folder "%1".</source>
        <translation>Der Ordner für Sicherungen „%1“ kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>: "=" missing</source>
        <translation>: „=“ fehlt</translation>
    </message>
    <message>
        <source>: no colour</source>
        <translation>: keine Farbe</translation>
    </message>
    <message>
        <source>: unknown colour group</source>
        <translation>: unbekannte Farbgruppe</translation>
    </message>
    <message>
        <source>: unknown colour role</source>
        <translation>: unbekannte Farbrolle</translation>
    </message>
    <message>
        <source>the base style Fusion is missing</source>
        <translation>der Grundstil Fusion fehlt</translation>
    </message>
    <message>
        <source>Visual style "%1" cannot be applied: %2</source>
        <translation>Der Stil „%1“ kann nicht angewendet werden: %2</translation>
    </message>
    <message>
        <source>a directory</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>The file is too large: %1 bytes, at most %2 bytes are read.</source>
        <translation>Die Datei ist zu groß: %1 Bytes, höchstens %2 Bytes werden gelesen.</translation>
    </message>
    <message>
        <source>Its name is not UTF-8 text, so this program cannot open it; rename the file.</source>
        <translation>Ihr Name ist kein UTF-8-Text, daher kann dieses Programm sie nicht öffnen; bitte die Datei umbenennen.</translation>
    </message>
    <message>
        <source>%1 KiB</source>
        <translation>%1 KiB</translation>
    </message>
    <message>
        <source>%1 MiB</source>
        <translation>%1 MiB</translation>
    </message>
    <message>
        <source>%1%  %2  %3  %4 left</source>
        <translation>%1%  %2  %3  noch %4</translation>
    </message>
    <message>
        <source>no USB library configured (LMK_USB_LIBRARY is not set)</source>
        <translation>keine USB-Bibliothek eingestellt (LMK_USB_LIBRARY ist nicht gesetzt)</translation>
    </message>
    <message>
        <source>LMK_USB_LIBRARY %1: %2</source>
        <translation>LMK_USB_LIBRARY %1: %2</translation>
    </message>
    <message>
        <source>LMK_USB_LIBRARY %1 does not export LMK_Open, LMK_Write and LMK_Close</source>
        <translation>LMK_USB_LIBRARY %1 exportiert LMK_Open, LMK_Write und LMK_Close nicht</translation>
    </message>
    <message>
        <source>the USB library found no receiver</source>
        <translation>die USB-Bibliothek fand keinen Empfänger</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Writing</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Clearing</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>%1 slot %2 of 63…</source>
        <translation>%1: Speicherplatz %2 von 63…</translation>
    </message>
    <message>
        <source>unexpected reply from the device (code 0x%1)</source>
        <translation>unerwartete Antwort des Geräts (Code 0x%1)</translation>
    </message>
    <message>
        <source>the receiver sent 248 bytes of each record; bytes 248 to 255 of the backup are zero</source>
        <translation>der Empfänger sandte 248 Bytes jedes Datensatzes; die Bytes 248 bis 255 der Sicherung sind null</translation>
    </message>
    <message>
        <source>quoted cell not closed</source>
        <translation>Zelle in Anführungszeichen nicht geschlossen</translation>
    </message>
    <message>
        <source>text after a closing quote</source>
        <translation>Text nach einem schließenden Anführungszeichen</translation>
    </message>
    <message>
        <source>quote inside a cell that is not quoted</source>
        <translation>Anführungszeichen in einer Zelle ohne Anführungszeichen</translation>
    </message>
    <message>
        <source>read as UTF-16 text</source>
        <translation>als UTF-16-Text gelesen</translation>
    </message>
    <message>
        <source>read as Windows-1252 text (it is not UTF-8)</source>
        <translation>als Windows-1252-Text gelesen (er ist kein UTF-8)</translation>
    </message>
    <message>
        <source>%1 cannot be stored in a name (Latin-1 characters only)</source>
        <translation>%1 kann nicht in einem Namen gespeichert werden (nur Latin-1-Zeichen)</translation>
    </message>
    <message>
        <source>a name cannot hold a control character (U+%1, such as a line break or a tab)</source>
        <translation>ein Name kann kein Steuerzeichen enthalten (U+%1, etwa einen Zeilenumbruch oder Tabulator)</translation>
    </message>
    <message>
        <source>name longer than %1 characters</source>
        <translation>Name länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>%1 is not a frequency with one decimal</source>
        <translation>%1 ist keine Frequenz mit einer Nachkommastelle</translation>
    </message>
    <message>
        <source>%1 does not fit in 32 bits (-214748364.8 to 214748364.7)</source>
        <translation>%1 passt nicht in 32 Bit (-214748364.8 bis 214748364.7)</translation>
    </message>
    <message>
        <source>%1 is not a whole number from 0 to 65535</source>
        <translation>%1 ist keine ganze Zahl von 0 bis 65535</translation>
    </message>
    <message>
        <source>%1 is not a whole number from -32768 to 32767</source>
        <translation>%1 ist keine ganze Zahl von -32768 bis 32767</translation>
    </message>
    <message>
        <source>%1 is not a whole number from 0 to 15</source>
        <translation>%1 ist keine ganze Zahl von 0 bis 15</translation>
    </message>
    <message>
        <source>%1 is not "%2" or "%3"</source>
        <translation>%1 ist weder „%2“ noch „%3“</translation>
    </message>
    <message>
        <source>empty; one of %1</source>
        <translation>leer; eines von %1</translation>
    </message>
    <message>
        <source>%1 is not one of %2</source>
        <translation>%1 ist keines von %2</translation>
    </message>
    <message>
        <source>not a whole record</source>
        <translation>kein ganzer Datensatz</translation>
    </message>
    <message>
        <source>not UTF-8 text</source>
        <translation>kein UTF-8-Text</translation>
    </message>
    <message>
        <source>(no heading) in column %1</source>
        <translation>(keine Überschrift) in Spalte %1</translation>
    </message>
    <message>
        <source>column "%1" appears twice</source>
        <translation>Spalte „%1“ kommt zweimal vor</translation>
    </message>
    <message>
        <source>column "%1" is missing; the columns are %2</source>
        <translation>Spalte „%1“ fehlt; die Spalten sind %2</translation>
    </message>
    <message>
        <source>ignored the columns %1 (the columns are %2)</source>
        <translation>die Spalten %1 wurden übergangen (die Spalten sind %2)</translation>
    </message>
    <message>
        <source>no column %1: those fields keep the base image's values</source>
        <translation>keine Spalte %1: diese Felder behalten die Werte des Grundabbilds</translation>
    </message>
    <message>
        <source>%1 cells, the header row has %2</source>
        <translation>%1 Zellen, die Kopfzeile hat %2</translation>
    </message>
    <message>
        <source>%1: not UTF-8 text</source>
        <translation>%1: kein UTF-8-Text</translation>
    </message>
    <message>
        <source>Platz: "%1" is not a slot number from 1 to 63</source>
        <translation>Platz: „%1“ ist keine Speicherplatznummer von 1 bis 63</translation>
    </message>
    <message>
        <source>Platz: slot %1 is already on line %2</source>
        <translation>Platz: Speicherplatz %1 steht schon in Zeile %2</translation>
    </message>
    <message>
        <source>only in %1</source>
        <translation>nur in %1</translation>
    </message>
    <message>
        <source>opaque bytes</source>
        <translation>verborgene Bytes</translation>
    </message>
    <message>
        <source>Only %1 of %2 slots pasted: slot 63 is the last.</source>
        <translation>Nur %1 von %2 Speicherplätzen eingefügt: Speicherplatz 63 ist der letzte.</translation>
    </message>
    <message>
        <source>the slot holds no whole record</source>
        <translation>der Speicherplatz hält keinen ganzen Datensatz</translation>
    </message>
    <message>
        <source>Name "%1": the character "%2" cannot be stored (Latin-1 characters only)</source>
        <translation>Name „%1“: Das Zeichen „%2“ kann nicht gespeichert werden (nur Latin-1-Zeichen)</translation>
    </message>
    <message>
        <source>The device sent 248 of the 256 bytes of a slot; the last 8 bytes of such slots were not received and keep their previous content.</source>
        <translation>Das Gerät sandte 248 der 256 Bytes eines Speicherplatzes; die letzten 8 Bytes solcher Speicherplätze kamen nicht an und behalten ihren bisherigen Inhalt.</translation>
    </message>
    <message>
        <source>The memory image holds %1 of the 63 slots (%2 of %3 bytes); nothing was written.</source>
        <translation>Das Speicherabbild hält %1 der 63 Speicherplätze (%2 von %3 Bytes); nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>63 slots written, but %1 %2 from what was written</source>
        <translation>63 Speicherplätze geschrieben, aber %1 %2 vom Geschriebenen ab</translation>
    </message>
    <message>
        <source> differs</source>
        <translation> weicht</translation>
    </message>
    <message>
        <source> differ</source>
        <translation> weichen</translation>
    </message>
    <message>
        <source>The receiver sends 248 of the 256 bytes of each slot when it is read, so bytes 249 to 256 of the slots were not read from it. A write sends all 256 bytes of every slot: those 8 bytes of every slot in the receiver then become the ones in the image.</source>
        <translation>Der Empfänger sendet beim Lesen 248 der 256 Bytes jedes Speicherplatzes, die Bytes 249 bis 256 wurden also nicht von ihm gelesen. Ein Schreiben sendet alle 256 Bytes jedes Speicherplatzes: Diese 8 Bytes jedes Speicherplatzes im Empfänger werden dann die des Abbilds.</translation>
    </message>
    <message>
        <source>[*] - Memory Slots</source>
        <translation>[*] - Speicherplätze</translation>
    </message>
    <message>
        <source> (the receiver sent 248 bytes of each record; the last 8 were not compared)</source>
        <translation> (der Empfänger sandte 248 Bytes jedes Datensatzes; die letzten 8 wurden nicht verglichen)</translation>
    </message>
    <message>
        <source>Backup of the receiver's slots: %1%2</source>
        <translation>Sicherung der Speicherplätze des Empfängers: %1%2</translation>
    </message>
    <message>
        <source>Bytes: %1</source>
        <translation>Bytes: %1</translation>
    </message>
    <message>
        <source>   cannot be read</source>
        <translation>   nicht lesbar</translation>
    </message>
    <message>
        <source>   same as the slots shown</source>
        <translation>   wie die angezeigten Speicherplätze</translation>
    </message>
    <message>
        <source>   1 slot differs</source>
        <translation>   1 Speicherplatz weicht ab</translation>
    </message>
    <message>
        <source>   %1 slots differ</source>
        <translation>   %1 Speicherplätze weichen ab</translation>
    </message>
    <message>
        <source>Slot %1: %2.</source>
        <translation>Speicherplatz %1: %2.</translation>
    </message>
    <message>
        <source>Slot %1: </source>
        <translation>Speicherplatz %1: </translation>
    </message>
    <message>
        <source>the image</source>
        <translation>das Abbild</translation>
    </message>
    <message>
        <source>the receiver</source>
        <translation>der Empfänger</translation>
    </message>
    <message>
        <source>-:-- left</source>
        <translation>noch -:--</translation>
    </message>
    <message>
        <source> left</source>
        <translation> übrig</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <source>SIGTERM</source>
        <translation>SIGTERM</translation>
    </message>
    <message>
        <source>SIGINT</source>
        <translation>SIGINT</translation>
    </message>
    <message>
        <source>SIGHUP</source>
        <translation>SIGHUP</translation>
    </message>
    <message>
        <source>the system</source>
        <translation>das System</translation>
    </message>
    <message>
        <source> at %1%</source>
        <translation> bei %1 %</translation>
    </message>
    <message>
        <source>line </source>
        <translation>Zeile </translation>
    </message>
    <message>
        <source>lines </source>
        <translation>Zeilen </translation>
    </message>
    <message>
        <source> and %1 more</source>
        <translation> und %1 weitere</translation>
    </message>
    <message>
        <source>slot CSV</source>
        <translation>Speicherplatz-CSV</translation>
    </message>
    <message>
        <source>gqrx bookmarks</source>
        <translation>gqrx-Lesezeichen</translation>
    </message>
    <message>
        <source>CHIRP CSV</source>
        <translation>CHIRP-CSV</translation>
    </message>
    <message>
        <source>EiBi schedule</source>
        <translation>EiBi-Sendeplan</translation>
    </message>
    <message>
        <source>The list is larger than 16 MiB.</source>
        <translation>Die Liste ist größer als 16 MiB.</translation>
    </message>
    <message>
        <source>This is no frequency list that can be read here (gqrx bookmarks, CHIRP CSV, EiBi schedule or the slot CSV).</source>
        <translation>Dies ist keine Frequenzliste, die hier gelesen werden kann (gqrx-Lesezeichen, CHIRP-CSV, EiBi-Sendeplan oder Speicherplatz-CSV).</translation>
    </message>
    <message>
        <source>The slot CSV names its slots itself; it is imported as it is.</source>
        <translation>Die Speicherplatz-CSV nennt ihre Speicherplätze selbst; sie wird so importiert, wie sie ist.</translation>
    </message>
    <message>
        <source>The %1 hold no entry.</source>
        <translation>%1: kein Eintrag vorhanden.</translation>
    </message>
    <message>
        <source>line %1 "%2" %3</source>
        <translation>Zeile %1 „%2“ %3</translation>
    </message>
    <message>
        <source>%1 %2 skipped: the slots hold frequencies from 0 Hz to below 100 MHz (%3</source>
        <translation>%1 %2 übergangen: Die Speicherplätze halten Frequenzen von 0 Hz bis unter 100 MHz (%3</translation>
    </message>
    <message>
        <source>, and %1 more</source>
        <translation> und %1 weitere</translation>
    </message>
    <message>
        <source>name "%1" stored as "%2" (changed to the slots' characters and cut to %3)</source>
        <translation>Name „%1“ als „%2“ gespeichert (in die Zeichen der Speicherplätze geändert und auf %3 gekürzt)</translation>
    </message>
    <message>
        <source>name "%1" stored as "%2" (changed to the slots' characters)</source>
        <translation>Name „%1“ als „%2“ gespeichert (in die Zeichen der Speicherplätze geändert)</translation>
    </message>
    <message>
        <source>name "%1" cut to %2 characters: "%3"</source>
        <translation>Name „%1“ auf %2 Zeichen gekürzt: „%3“</translation>
    </message>
    <message>
        <source>no mode: Modulation Auto</source>
        <translation>keine Betriebsart: Modulation Auto</translation>
    </message>
    <message>
        <source>mode "%1" is not one of the receiver's: Modulation Auto</source>
        <translation>Betriebsart „%1“ kennt der Empfänger nicht: Modulation Auto</translation>
    </message>
    <message>
        <source>bandwidth %1 Hz does not fit (0 to 65535): Bandbreite unchanged</source>
        <translation>Bandbreite %1 Hz passt nicht (0 bis 65535): Bandbreite unverändert</translation>
    </message>
    <message>
        <source>The first slot must be from 1 to 63, not %1.</source>
        <translation>Der erste Speicherplatz muss von 1 bis 63 sein, nicht %1.</translation>
    </message>
    <message>
        <source>%1 entries are chosen, but from slot %2 to 63 there %3 only %4 %5.</source>
        <translation>%1 Einträge sind gewählt, aber von Speicherplatz %2 bis 63 gibt es nur %4 %5.</translation>
    </message>
    <message>
        <source>No entry %1 in the list.</source>
        <translation>Kein Eintrag %1 in der Liste.</translation>
    </message>
    <message>
        <source>Slot %1: %2</source>
        <translation>Speicherplatz %1: %2</translation>
    </message>
    <message>
        <source>Slot %1: left out, its frequency %2 is below 0</source>
        <translation>Speicherplatz %1: ausgelassen, seine Frequenz %2 ist kleiner als 0</translation>
    </message>
    <message>
        <source>Slot %1: control characters of the name written as spaces</source>
        <translation>Speicherplatz %1: Steuerzeichen des Namens als Leerzeichen geschrieben</translation>
    </message>
    <message>
        <source>Slot %1: %2 written as %3 Hz</source>
        <translation>Speicherplatz %1: %2 als %3 Hz geschrieben</translation>
    </message>
    <message>
        <source>The CHIRP CSV has no header row.</source>
        <translation>Die CHIRP-CSV hat keine Kopfzeile.</translation>
    </message>
    <message>
        <source>The CHIRP CSV has no column "Frequency".</source>
        <translation>Die CHIRP-CSV hat keine Spalte „Frequency“.</translation>
    </message>
    <message>
        <source>not read: no frequency in MHz</source>
        <translation>nicht gelesen: keine Frequenz in MHz</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>AM</source>
        <translation>AM</translation>
    </message>
    <message>
        <source>LSB</source>
        <translation>LSB</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>Slot %1: Modulation SSB written as USB</source>
        <translation>Speicherplatz %1: Modulation SSB als USB geschrieben</translation>
    </message>
    <message>
        <source>CW</source>
        <translation>CW</translation>
    </message>
    <message>
        <source>Slot %1: Modulation index %2 written as Auto</source>
        <translation>Speicherplatz %1: Modulation Nummer %2 als Auto geschrieben</translation>
    </message>
    <message>
        <source>,,0.000000,,88.5,88.5,023,NN,</source>
        <translation>,,0.000000,,88.5,88.5,023,NN,</translation>
    </message>
    <message>
        <source>DRM</source>
        <translation>DRM</translation>
    </message>
    <message>
        <source>not read: not a schedule row (kHz;HHMM-HHMM;Days;ITU;Station;...)</source>
        <translation>nicht gelesen: keine Zeile eines Sendeplans (kHz;HHMM-HHMM;Days;ITU;Station;...)</translation>
    </message>
    <message>
        <source>name no days as Mo-Fr, Sa,Su or 1245: taken as every day</source>
        <translation>ohne Tage wie Mo-Fr, Sa,Su oder 1245: als täglich genommen</translation>
    </message>
    <message>
        <source>not read: not a bookmark (Frequency; Name; Modulation; Bandwidth; Tags)</source>
        <translation>nicht gelesen: kein Lesezeichen (Frequency; Name; Modulation; Bandwidth; Tags)</translation>
    </message>
    <message>
        <source># Tag name</source>
        <translation># Tag name</translation>
    </message>
    <message>
        <source>LMK</source>
        <translation>LMK</translation>
    </message>
    <message>
        <source># Frequency</source>
        <translation># Frequency</translation>
    </message>
    <message>
        <source>Bandwidth</source>
        <translation>Bandbreite</translation>
    </message>
    <message>
        <source>Slot %1: name "%2" written as "%3" (';' separates the fields)</source>
        <translation>Speicherplatz %1: Name „%2“ als „%3“ geschrieben („;“ trennt die Felder)</translation>
    </message>
    <message>
        <source>CW-U</source>
        <translation>CW-U</translation>
    </message>
    <message>
        <source>Slot %1: Modulation %2 written as AM</source>
        <translation>Speicherplatz %1: Modulation %2 als AM geschrieben</translation>
    </message>
    <message>
        <source>index %1</source>
        <translation>Nummer %1</translation>
    </message>
    <message>
        <source>The memory image holds no slots (0 bytes); nothing was saved. Read the slots or open a .Mem file first.</source>
        <translation>Das Speicherabbild hält keine Speicherplätze (0 Bytes); nichts wurde gespeichert. Zuerst die Speicherplätze lesen oder eine .Mem-Datei öffnen.</translation>
    </message>
    <message>
        <source>Cannot write file "%1". %2</source>
        <translation>Die Datei „%1“ kann nicht geschrieben werden. %2</translation>
    </message>
    <message>
        <source>Too many recovery files named %1.</source>
        <translation>Zu viele Wiederherstellungsdateien namens %1.</translation>
    </message>
    <message>
        <source>When the program last had to end, the memory slots had changes that were not saved; they were kept in %1.</source>
        <translation>Als das Programm zuletzt beendet werden musste, hatten die Speicherplätze ungespeicherte Änderungen; sie wurden in %1 aufbewahrt.</translation>
    </message>
    <message>
        <source> %1 older ones are listed under File, Backups… of the memory editor.</source>
        <translation> %1 ältere stehen im Speicherplatz-Editor unter Datei, Sicherungen….</translation>
    </message>
    <message>
        <source>"%1" could be read with "." or "," as the decimal mark; the file's separator does not tell which (write it without digit grouping)</source>
        <translation>„%1“ kann mit „.“ oder „,“ als Dezimalzeichen gelesen werden; das Trennzeichen der Datei sagt nicht, welches (ohne Tausendertrennzeichen schreiben)</translation>
    </message>
    <message>
        <source>a name cannot hold a control character (U+%1, such as a line break or a tab); write it as \x%2</source>
        <translation>ein Name kann kein Steuerzeichen enthalten (U+%1, etwa einen Zeilenumbruch oder Tabulator); als \x%2 schreiben</translation>
    </message>
    <message>
        <source>a name cannot hold a zero byte (\x00)</source>
        <translation>ein Name kann kein Nullbyte enthalten (\x00)</translation>
    </message>
    <message>
        <source>excel-de</source>
        <translation>excel-de</translation>
    </message>
    <message>
        <source>Error on reading! %1. The memory slots were not changed.</source>
        <translation>Fehler beim Lesen! %1. Die Speicherplätze wurden nicht geändert.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>slot </source>
        <translation>Speicherplatz </translation>
    </message>
    <message>
        <source>slots </source>
        <translation>Speicherplätze </translation>
    </message>
    <message>
        <source>the device answered 1 read request with a status word instead of a slot</source>
        <translation>das Gerät beantwortete 1 Leseanfrage mit einem Statuswort statt eines Speicherplatzes</translation>
    </message>
    <message>
        <source>the device answered %1 read requests with a status word instead of a slot</source>
        <translation>das Gerät beantwortete %1 Leseanfragen mit einem Statuswort statt eines Speicherplatzes</translation>
    </message>
    <message>
        <source> did not come</source>
        <translation> kam nicht an</translation>
    </message>
    <message>
        <source> came more than once</source>
        <translation> kam mehrfach an</translation>
    </message>
    <message>
        <source>records for slot number %1 came (there are only slots 1 to 63; they were not stored)</source>
        <translation>Datensätze für Speicherplatznummer %1 kamen an (es gibt nur die Speicherplätze 1 bis 63; sie wurden nicht gespeichert)</translation>
    </message>
    <message>
        <source>; the state of slot %1 is unknown (its acknowledgement did not come)</source>
        <translation>; der Zustand von Speicherplatz %1 ist unbekannt (seine Bestätigung kam nicht an)</translation>
    </message>
    <message>
        <source>Import Frequency List - %1</source>
        <translation>Frequenzliste importieren - %1</translation>
    </message>
    <message>
        <source>Format of the list</source>
        <translation>Format der Liste</translation>
    </message>
    <message>
        <source>Name contains</source>
        <translation>Name enthält</translation>
    </message>
    <message>
        <source>part of the name or station</source>
        <translation>Teil des Namens oder Senders</translation>
    </message>
    <message>
        <source>Range in kHz</source>
        <translation>Bereich in kHz</translation>
    </message>
    <message>
        <source>On air at, UTC</source>
        <translation>Auf Sendung um, UTC</translation>
    </message>
    <message>
        <source>Day, UTC</source>
        <translation>Tag, UTC</translation>
    </message>
    <message>
        <source>Any day</source>
        <translation>Jeder Tag</translation>
    </message>
    <message>
        <source>First slot</source>
        <translation>Erster Speicherplatz</translation>
    </message>
    <message>
        <source>Entries of the list</source>
        <translation>Einträge der Liste</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Betriebsart</translation>
    </message>
    <message>
        <source>Time (UTC)</source>
        <translation>Zeit (UTC)</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Becomes</source>
        <translation>Wird zu</translation>
    </message>
    <message>
        <source>Check &amp;all shown</source>
        <translation>&amp;Alle gezeigten auswählen</translation>
    </message>
    <message>
        <source>&amp;Uncheck all shown</source>
        <translation>Alle gezeigten ab&amp;wählen</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>&amp;Format:</source>
        <translation>&amp;Format:</translation>
    </message>
    <message>
        <source>Name &amp;contains:</source>
        <translation>&amp;Name enthält:</translation>
    </message>
    <message>
        <source>&amp;Range (kHz):</source>
        <translation>&amp;Bereich (kHz):</translation>
    </message>
    <message>
        <source>&amp;Day (UTC):</source>
        <translation>&amp;Tag (UTC):</translation>
    </message>
    <message>
        <source>On air &amp;at (UTC):</source>
        <translation>Auf Sendung &amp;um (UTC):</translation>
    </message>
    <message>
        <source>First &amp;slot:</source>
        <translation>Erster &amp;Speicherplatz:</translation>
    </message>
    <message>
        <source>&amp;Entries:</source>
        <translation>&amp;Einträge:</translation>
    </message>
    <message>
        <source>%1 entries read as %2.</source>
        <translation>%1 Einträge als %2 gelesen.</translation>
    </message>
    <message>
        <source>Line %1 of the list</source>
        <translation>Zeile %1 der Liste</translation>
    </message>
    <message>
        <source>Range: LOW-HIGH in kHz, e.g. 5900-6200.</source>
        <translation>Bereich: VON-BIS in kHz, z. B. 5900-6200.</translation>
    </message>
    <message>
        <source>On air at: a time in UTC as HHMM, e.g. 1800.</source>
        <translation>Auf Sendung um: eine Uhrzeit in UTC als HHMM, z. B. 1800.</translation>
    </message>
    <message>
        <source>skipped: the slots hold 0 Hz to below 100 MHz</source>
        <translation>übergangen: Die Speicherplätze halten 0 Hz bis unter 100 MHz</translation>
    </message>
    <message>
        <source>no slot left</source>
        <translation>kein Speicherplatz frei</translation>
    </message>
    <message>
        <source>Slot %1: %2 </source>
        <translation>Speicherplatz %1: %2 </translation>
    </message>
    <message>
        <source>No entry is chosen.</source>
        <translation>Kein Eintrag ist gewählt.</translation>
    </message>
    <message>
        <source>%1 entries are chosen, but from slot %2 to 63 there are only %3 slots: choose fewer.</source>
        <translation>%1 Einträge sind gewählt, aber von Speicherplatz %2 bis 63 gibt es nur %3 Speicherplätze: bitte weniger wählen.</translation>
    </message>
    <message>
        <source>%1 %2 chosen: slot%3 %4%5.</source>
        <translation>%1 %2 gewählt: Speicherplätze %4%5.</translation>
    </message>
    <message>
        <source> to %1</source>
        <translation> bis %1</translation>
    </message>
    <message>
        <source>Import Frequency List %1</source>
        <translation>Frequenzliste %1 importieren</translation>
    </message>
    <message>
        <source>Imported %1 %2 of %3 (%4) into slot%5 %6%7</source>
        <translation>Importiert: %1 %2 aus %3 (%4) in die Speicherplätze %6%7</translation>
    </message>
    <message>
        <source>Frequency list (gqrx, CHIRP, EiBi) *.csv</source>
        <translation>Frequenzliste (gqrx, CHIRP, EiBi) *.csv</translation>
    </message>
    <message>
        <source>All files *</source>
        <translation>Alle Dateien *</translation>
    </message>
    <message>
        <source>%1 is a slot CSV: File, Import CSV… puts it onto the slots.</source>
        <translation>%1 ist eine Speicherplatz-CSV: Datei, CSV importieren… bringt sie auf die Speicherplätze.</translation>
    </message>
    <message>
        <source>%1 is not a list that can be read here (gqrx bookmarks, CHIRP CSV or EiBi schedule).</source>
        <translation>%1 ist keine Liste, die hier gelesen werden kann (gqrx-Lesezeichen, CHIRP-CSV oder EiBi-Sendeplan).</translation>
    </message>
    <message>
        <source>Frequency list *.csv</source>
        <translation>Frequenzliste *.csv</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>Exported %1 slot%2 as %3 to %4</source>
        <translation>Speicherplätze exportiert: %1 als %3 nach %4</translation>
    </message>
    <message>
        <source>Export CSV for E&amp;xcel (German)…</source>
        <translation>CSV für E&amp;xcel (deutsch) exportieren…</translation>
    </message>
    <message>
        <source>Import &amp;Frequency List…</source>
        <translation>Frequenzliste i&amp;mportieren…</translation>
    </message>
    <message>
        <source>Export Frequency &amp;List…</source>
        <translation>Frequenz&amp;liste exportieren…</translation>
    </message>
    <message>
        <source>   unsaved changes (recovered)</source>
        <translation>   ungespeicherte Änderungen (wiederhergestellt)</translation>
    </message>
    <message>
        <source>Open Recovered %1</source>
        <translation>Wiederhergestellte %1 öffnen</translation>
    </message>
    <message>
        <source>USB Terminal session</source>
        <translation>Sitzung des USB-Terminals</translation>
    </message>
    <message>
        <source>Line to send</source>
        <translation>Zu sendende Zeile</translation>
    </message>
    <message>
        <source>Line to send (Enter)</source>
        <translation>Zu sendende Zeile (Eingabe)</translation>
    </message>
    <message>
        <source>Log…</source>
        <translation>Protokoll…</translation>
    </message>
    <message>
        <source>Timestamps</source>
        <translation>Zeitstempel</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>Monospace</source>
        <translation>Feste Breite</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>Suchen:</translation>
    </message>
    <message>
        <source>Ctrl+F</source>
        <translation>Strg+F</translation>
    </message>
    <message>
        <source>Scrollback lines</source>
        <translation>Verlaufszeilen</translation>
    </message>
    <message>
        <source>Log stopped: cannot write to "%1". %2</source>
        <translation>Protokoll beendet: „%1“ kann nicht geschrieben werden. %2</translation>
    </message>
    <message>
        <source>RX: %L1 bytes   TX: %L2 bytes</source>
        <translation>RX: %L1 Bytes   TX: %L2 Bytes</translation>
    </message>
    <message>
        <source>Terminal log *.log</source>
        <translation>Terminal-Protokoll *.log</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>Cannot open the log file "%1". %2</source>
        <translation>Die Protokolldatei „%1“ kann nicht geöffnet werden. %2</translation>
    </message>
    <message>
        <source>Logging to %1</source>
        <translation>Protokoll nach %1</translation>
    </message>
    <message>
        <source>"%1" not found</source>
        <translation>„%1“ nicht gefunden</translation>
    </message>
    <message>
        <source>entry</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>entries</source>
        <translation>Einträge</translation>
    </message>
    <message>
        <source>slot</source>
        <translation>Speicherplatz</translation>
    </message>
    <message>
        <source>slots</source>
        <translation>Speicherplätze</translation>
    </message>
    <message>
        <source>%1 entry chosen: slot %2.</source>
        <translation>%1 Eintrag gewählt: Speicherplatz %2.</translation>
    </message>
    <message>
        <source>Imported %1 entry of %2 (%3) into slot %4</source>
        <translation>Importiert: %1 Eintrag aus %2 (%3) in Speicherplatz %4</translation>
    </message>
    <message>
        <source>Exported %1 slot as %2 to %3</source>
        <translation>Speicherplatz exportiert: %1 als %2 nach %3</translation>
    </message>
    <message>
        <source>RX: %1 bytes   TX: %2 bytes</source>
        <translation>RX: %1 Bytes   TX: %2 Bytes</translation>
    </message>
</context>
</TS>
