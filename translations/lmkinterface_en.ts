<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="de_DE">
<context>
    <name>lmk</name>
    <message>
        <source>USB / WLAN Interface to LMK54/55</source>
        <translation>USB / WLAN Interface to LMK54/55</translation>
    </message>
    <message>
        <source>USB-Device:</source>
        <translation>USB device:</translation>
    </message>
    <message>
        <source>WLAN Access to Device:</source>
        <translation>WLAN access to device:</translation>
    </message>
    <message>
        <source>Update 54/55</source>
        <translation>Update 54/55</translation>
    </message>
    <message>
        <source>Display Copy</source>
        <translation>Display Copy</translation>
    </message>
    <message>
        <source>LMK25E</source>
        <translation>LMK25E</translation>
    </message>
    <message>
        <source>Speicherplätze</source>
        <translation>Memory Slots</translation>
    </message>
    <message>
        <source>USB Terminal</source>
        <translation>USB Terminal</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>&amp;Interface</source>
        <translation>&amp;Interface</translation>
    </message>
    <message>
        <source>Find &amp;USB Device</source>
        <translation>Find &amp;USB Device</translation>
    </message>
    <message>
        <source>Find &amp;WLAN Connection</source>
        <translation>Find &amp;WLAN Connection</translation>
    </message>
    <message>
        <source>Receiver &amp;Address…</source>
        <translation>Receiver &amp;Address…</translation>
    </message>
    <message>
        <source>Receiver Address</source>
        <translation>Receiver Address</translation>
    </message>
    <message>
        <source>Memory &amp;Slots…</source>
        <translation>Memory &amp;Slots…</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Language</translation>
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
        <translation>&amp;Desktop style</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Transfer to</source>
        <translation>Transfer to</translation>
    </message>
    <message>
        <source>LMK35 (Configuration)</source>
        <translation>LMK35 (Configuration)</translation>
    </message>
    <message>
        <source>External (Update Task)</source>
        <translation>External (Update Task)</translation>
    </message>
    <message>
        <source>External Tasks</source>
        <translation>External Tasks</translation>
    </message>
    <message>
        <source>No tasks found!</source>
        <translation>No tasks found!</translation>
    </message>
    <message>
        <source>No Tasks found!</source>
        <translation>No tasks found!</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Synchronize</source>
        <translation>Synchronize</translation>
    </message>
    <message>
        <source>Bootloader active</source>
        <translation>Bootloader active</translation>
    </message>
    <message>
        <source>Configuration active</source>
        <translation>Configuration active</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>Bytes sent:</source>
        <translation>Bytes sent:</translation>
    </message>
    <message>
        <source>Bytes sent: %1</source>
        <translation>Bytes sent: %1</translation>
    </message>
    <message>
        <source>Clearing memory:</source>
        <translation>Clearing memory:</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Upload rate</source>
        <translation>Upload rate</translation>
    </message>
    <message>
        <source>Upload time left</source>
        <translation>Upload time left</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>Record…</source>
        <translation>Record…</translation>
    </message>
    <message>
        <source>Recorded frames</source>
        <translation>Recorded frames</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Column:</source>
        <translation>Column:</translation>
    </message>
    <message>
        <source>Scan progress</source>
        <translation>Scan progress</translation>
    </message>
    <message>
        <source>Scan rate</source>
        <translation>Scan rate</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>Area</translation>
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
        <translation>W:</translation>
    </message>
    <message>
        <source>H:</source>
        <translation>H:</translation>
    </message>
    <message>
        <source>Full VGA</source>
        <translation>Full VGA</translation>
    </message>
    <message>
        <source>Full WVGA</source>
        <translation>Full WVGA</translation>
    </message>
    <message>
        <source>Diagram VGA</source>
        <translation>Diagram VGA</translation>
    </message>
    <message>
        <source>Diagram WVGA</source>
        <translation>Diagram WVGA</translation>
    </message>
    <message>
        <source>Frame:</source>
        <translation>Frame:</translation>
    </message>
    <message>
        <source>To Clipboard</source>
        <translation>To Clipboard</translation>
    </message>
    <message>
        <source>%1 frames/s</source>
        <translation>%1 frames/s</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>WiFi Access Point Configuration</source>
        <translation>WiFi access point configuration</translation>
    </message>
    <message>
        <source>Name (SSID)</source>
        <translation>Name (SSID)</translation>
    </message>
    <message>
        <source>Passkey</source>
        <translation>Passkey</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>TX-Power</source>
        <translation>TX power</translation>
    </message>
    <message>
        <source>dBm</source>
        <translation>dBm</translation>
    </message>
    <message>
        <source>Set!</source>
        <translation>Set!</translation>
    </message>
    <message>
        <source>Access point warnings</source>
        <translation>Access point warnings</translation>
    </message>
    <message>
        <source>Datei:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>keine</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Speicherplätze:</source>
        <translation>Memory slots:</translation>
    </message>
    <message>
        <source>Laden vom LMK54</source>
        <translation>Read from LMK54</translation>
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
        <translation>Write to LMK54</translation>
    </message>
    <message>
        <source>Alles Löschen</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>Platz</source>
        <translation>Slot</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Frequenz</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Modulation</source>
        <translation>Modulation</translation>
    </message>
    <message>
        <source>Bandbreite</source>
        <translation>Bandwidth</translation>
    </message>
    <message>
        <source>Verschiebung</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>Hochpass</source>
        <translation>High-pass</translation>
    </message>
    <message>
        <source>Eingang</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>Abschwächer</source>
        <translation>Attenuator</translation>
    </message>
    <message>
        <source>Filter HP</source>
        <translation>High-pass filter</translation>
    </message>
    <message>
        <source>Filter TP</source>
        <translation>Low-pass filter</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Sample: %1</source>
        <translation>Sample: %1</translation>
    </message>
    <message>
        <source>Samplerate: %1</source>
        <translation>Sample rate: %1</translation>
    </message>
    <message>
        <source>Spektrum mit Messgenauigkeit</source>
        <translation>Spectrum with measuring accuracy</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>Ebene</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Ebene -</source>
        <translation>Level -</translation>
    </message>
    <message>
        <source>Ebene +</source>
        <translation>Level +</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Ende</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>keine Audio-Device</source>
        <translation>no audio device</translation>
    </message>
    <message>
        <source>Audio-Device:</source>
        <translation>Audio device:</translation>
    </message>
    <message>
        <source>Verwendung möglich</source>
        <translation>Usable</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Interfaceprogramm für LMK54</source>
        <translation>Interface program for LMK54</translation>
    </message>
    <message>
        <source>Hergestellt von</source>
        <translation>Made by</translation>
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
        <translation>Memory Slots[*]</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <source>&amp;Save…</source>
        <translation>&amp;Save…</translation>
    </message>
    <message>
        <source>&amp;Export CSV…</source>
        <translation>&amp;Export CSV…</translation>
    </message>
    <message>
        <source>&amp;Import CSV…</source>
        <translation>&amp;Import CSV…</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Undo %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Redo %1</translation>
    </message>
    <message>
        <source>Cu&amp;t Slots</source>
        <translation>Cu&amp;t Slots</translation>
    </message>
    <message>
        <source>&amp;Copy Slots</source>
        <translation>&amp;Copy Slots</translation>
    </message>
    <message>
        <source>&amp;Paste Slots</source>
        <translation>&amp;Paste Slots</translation>
    </message>
    <message>
        <source>C&amp;lear Slots</source>
        <translation>C&amp;lear Slots</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Move &amp;Up</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>Move &amp;Down</translation>
    </message>
    <message>
        <source>Compare with &amp;receiver</source>
        <translation>Compare with &amp;receiver</translation>
    </message>
    <message>
        <source>Memory editor status</source>
        <translation>Memory editor status</translation>
    </message>
    <message>
        <source>Cyclone Design File *.RPD</source>
        <translation>Cyclone Design File *.RPD</translation>
    </message>
    <message>
        <source>Memory file *.Mem</source>
        <translation>Memory file *.Mem</translation>
    </message>
    <message>
        <source>Speicherplatz-Datei *.Mem</source>
        <translation>Memory file *.Mem</translation>
    </message>
    <message>
        <source>Bitmap *.BMP</source>
        <translation>Bitmap image *.BMP</translation>
    </message>
    <message>
        <source>Bilddatei *.BMP</source>
        <translation>Bitmap image *.BMP</translation>
    </message>
    <message>
        <source>PNG-Bild *.PNG</source>
        <translation>PNG image *.PNG</translation>
    </message>
    <message>
        <source>CSV file *.csv</source>
        <translation>CSV file *.csv</translation>
    </message>
    <message>
        <source>Close application?</source>
        <translation>Close application?</translation>
    </message>
    <message>
        <source>Access Point LMK5x not found!</source>
        <translation>Access Point LMK5x not found!</translation>
    </message>
    <message>
        <source>Wirklich alle Speicherplätze im LMK54 löschen?</source>
        <translation>Really clear all memory slots of the LMK54?</translation>
    </message>
    <message>
        <source>Name / SSID muss 10 Zeichen lang sein!</source>
        <translation>Name / SSID must be 10 characters long!</translation>
    </message>
    <message>
        <source>Passwort muss 22 Zeichen lang sein!</source>
        <translation>Passkey must be 22 characters long!</translation>
    </message>
    <message>
        <source>Fehler beim Speichern!</source>
        <translation>Error on saving!</translation>
    </message>
    <message>
        <source>No connection available!</source>
        <translation>No connection available!</translation>
    </message>
    <message>
        <source>No USB connection available!</source>
        <translation>No USB connection available!</translation>
    </message>
    <message>
        <source>No connection or file available!</source>
        <translation>No connection or file available!</translation>
    </message>
    <message>
        <source>File cannot be loaded into LMK!</source>
        <translation>File cannot be loaded into LMK!</translation>
    </message>
    <message>
        <source>File transfer finished successfully!</source>
        <translation>File transfer finished successfully!</translation>
    </message>
    <message>
        <source>Exception caused by device driver!</source>
        <translation>Exception caused by device driver!</translation>
    </message>
    <message>
        <source>All data received!</source>
        <translation>All data received!</translation>
    </message>
    <message>
        <source>Timeout: Device doesn't respond!</source>
        <translation>Timeout: Device doesn't respond!</translation>
    </message>
    <message>
        <source>Device doesn't respond!</source>
        <translation>Device doesn't respond!</translation>
    </message>
    <message>
        <source>LMK doesn't respond to WLAN!</source>
        <translation>LMK doesn't respond to WLAN!</translation>
    </message>
    <message>
        <source>Error on reading!</source>
        <translation>Error on reading!</translation>
    </message>
    <message>
        <source>Error on saving!</source>
        <translation>Error on saving!</translation>
    </message>
    <message>
        <source>Read from LMK54!</source>
        <translation>Read from LMK54!</translation>
    </message>
    <message>
        <source>Transfer finished!</source>
        <translation>Transfer finished!</translation>
    </message>
    <message>
        <source>Try to read out...</source>
        <translation>Try to read out...</translation>
    </message>
    <message>
        <source>Bootloader not active!</source>
        <translation>Bootloader not active!</translation>
    </message>
    <message>
        <source>File not related to selected task, load?</source>
        <translation>File not related to selected task, load?</translation>
    </message>
    <message>
        <source>Line too long: at most 253 characters can be sent!</source>
        <translation>Line too long: at most 253 characters can be sent!</translation>
    </message>
    <message>
        <source>&amp;Backups…</source>
        <translation>&amp;Backups…</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Cl&amp;ear Slots</source>
        <translation>Cl&amp;ear Slots</translation>
    </message>
    <message>
        <source>&amp;Insert Empty Slot</source>
        <translation>&amp;Insert Empty Slot</translation>
    </message>
    <message>
        <source>&amp;Delete Slots</source>
        <translation>&amp;Delete Slots</translation>
    </message>
    <message>
        <source>&amp;Move Up</source>
        <translation>&amp;Move Up</translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation>Move Do&amp;wn</translation>
    </message>
    <message>
        <source>Sort by &amp;Frequency</source>
        <translation>Sort by &amp;Frequency</translation>
    </message>
    <message>
        <source>Sort by &amp;Name</source>
        <translation>Sort by &amp;Name</translation>
    </message>
    <message>
        <source>Compare with Recei&amp;ver</source>
        <translation>Compare with Recei&amp;ver</translation>
    </message>
</context>
</TS>
