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
    <message>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Colour %1</source>
        <translation>Colour %1</translation>
    </message>
    <message>
        <source>Scan picture</source>
        <translation>Scan picture</translation>
    </message>
    <message>
        <source>Choose the .RPD file to upload with File ▸ Open (Alt+F, O)</source>
        <translation>Choose the .RPD file to upload with File ▸ Open (Alt+F, O)</translation>
    </message>
    <message>
        <source>%1 is set in the environment; it wins over the address saved here as long as it is set.</source>
        <translation>%1 is set in the environment; it wins over the address saved here as long as it is set.</translation>
    </message>
    <message>
        <source>%1 and %2 are set in the environment; they win over the address saved here as long as they are set.</source>
        <translation>%1 and %2 are set in the environment; they win over the address saved here as long as they are set.</translation>
    </message>
    <message>
        <source>Saved for later runs, and used by lmkctl too. Interface &gt; Find WLAN Connection connects to it.</source>
        <translation>Saved for later runs, and used by lmkctl too. Interface &gt; Find WLAN Connection connects to it.</translation>
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
        <translation>Scale:</translation>
    </message>
    <message>
        <source>The memory slots have changes that are not saved. Open another file anyway?</source>
        <translation>The memory slots have changes that are not saved. Open another file anyway?</translation>
    </message>
    <message>
        <source>The memory slots have changes that are not saved. Close the application anyway?</source>
        <translation>The memory slots have changes that are not saved. Close the application anyway?</translation>
    </message>
    <message>
        <source>The memory slots have changes that are not saved. Close the editor anyway?</source>
        <translation>The memory slots have changes that are not saved. Close the editor anyway?</translation>
    </message>
    <message>
        <source>The memory slots have changes that are not saved. Read the receiver's slots over them?</source>
        <translation>The memory slots have changes that are not saved. Read the receiver's slots over them?</translation>
    </message>
    <message>
        <source>The memory slots are being transferred; wait until that has finished.</source>
        <translation>The memory slots are being transferred; wait until that has finished.</translation>
    </message>
    <message>
        <source>The memory slots are being transferred; nothing was changed.</source>
        <translation>The memory slots are being transferred; nothing was changed.</translation>
    </message>
    <message>
        <source>The memory slots are being transferred; wait until that has finished, then clear them.</source>
        <translation>The memory slots are being transferred; wait until that has finished, then clear them.</translation>
    </message>
    <message>
        <source>%1: %2 %3 written</source>
        <translation>%1: %2 %3 written</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>Recorded</source>
        <translation>Recorded</translation>
    </message>
    <message>
        <source>frame</source>
        <translation>frame</translation>
    </message>
    <message>
        <source>frames</source>
        <translation>frames</translation>
    </message>
    <message>
        <source>Cannot create file "%1". %2</source>
        <translation>Cannot create file "%1". %2</translation>
    </message>
    <message>
        <source>Cannot open file "%1". %2</source>
        <translation>Cannot open file "%1". %2</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>&amp;Folder:</source>
        <translation>&amp;Folder:</translation>
    </message>
    <message>
        <source>&amp;Numbered (frame-0001.png)</source>
        <translation>&amp;Numbered (frame-0001.png)</translation>
    </message>
    <message>
        <source>&amp;Time-stamped (frame-YYYYMMDD-HHMMSS.png)</source>
        <translation>&amp;Time-stamped (frame-YYYYMMDD-HHMMSS.png)</translation>
    </message>
    <message>
        <source>Names:</source>
        <translation>Names:</translation>
    </message>
    <message>
        <source>every frame</source>
        <translation>every frame</translation>
    </message>
    <message>
        <source>&amp;One frame every:</source>
        <translation>&amp;One frame every:</translation>
    </message>
    <message>
        <source>%1[*] - Memory Slots</source>
        <translation>%1[*] - Memory Slots</translation>
    </message>
    <message>
        <source>Exported to %1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <source>Import CSV</source>
        <translation>Import CSV</translation>
    </message>
    <message>
        <source>Imported %1</source>
        <translation>Imported %1</translation>
    </message>
    <message>
        <source>%1 slot(s) copied</source>
        <translation>%1 slot(s) copied</translation>
    </message>
    <message>
        <source>%1 cell(s) copied</source>
        <translation>%1 cell(s) copied</translation>
    </message>
    <message>
        <source>Only whole slots can be cut: select their rows by the slot numbers. Nothing was changed.</source>
        <translation>Only whole slots can be cut: select their rows by the slot numbers. Nothing was changed.</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>%1 slot(s) cut</source>
        <translation>%1 slot(s) cut</translation>
    </message>
    <message>
        <source>Paste Slots</source>
        <translation>Paste Slots</translation>
    </message>
    <message>
        <source>%1 slot(s) pasted</source>
        <translation>%1 slot(s) pasted</translation>
    </message>
    <message>
        <source>Pasted %1 row(s) of cells</source>
        <translation>Pasted %1 row(s) of cells</translation>
    </message>
    <message>
        <source>Only whole slots can be cleared: select their rows by the slot numbers. Nothing was changed.</source>
        <translation>Only whole slots can be cleared: select their rows by the slot numbers. Nothing was changed.</translation>
    </message>
    <message>
        <source>Clear Slots</source>
        <translation>Clear Slots</translation>
    </message>
    <message>
        <source>Slot 63 is not empty and falls off the end when an empty slot is inserted at slot %1. Insert anyway?</source>
        <translation>Slot 63 is not empty and falls off the end when an empty slot is inserted at slot %1. Insert anyway?</translation>
    </message>
    <message>
        <source>Insert Slot %1</source>
        <translation>Insert Slot %1</translation>
    </message>
    <message>
        <source>Delete Slot %1</source>
        <translation>Delete Slot %1</translation>
    </message>
    <message>
        <source>Delete %1 Slots</source>
        <translation>Delete %1 Slots</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Move Up</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Move Down</translation>
    </message>
    <message>
        <source>Select the slots to sort.</source>
        <translation>Select the slots to sort.</translation>
    </message>
    <message>
        <source>Sort by Frequency</source>
        <translation>Sort by Frequency</translation>
    </message>
    <message>
        <source>Sort by Name</source>
        <translation>Sort by Name</translation>
    </message>
    <message>
        <source>Reading the receiver's slots…</source>
        <translation>Reading the receiver's slots…</translation>
    </message>
    <message>
        <source>The receiver's slots could not be read: %1</source>
        <translation>The receiver's slots could not be read: %1</translation>
    </message>
    <message>
        <source>The image equals the receiver's slots.</source>
        <translation>The image equals the receiver's slots.</translation>
    </message>
    <message>
        <source>Slots that differ from the receiver: %1</source>
        <translation>Slots that differ from the receiver: %1</translation>
    </message>
    <message>
        <source>Reading the receiver's slots for a backup…</source>
        <translation>Reading the receiver's slots for a backup…</translation>
    </message>
    <message>
        <source>Backup of the receiver's slots: %1</source>
        <translation>Backup of the receiver's slots: %1</translation>
    </message>
    <message>
        <source>Backups of the receiver's slots</source>
        <translation>Backups of the receiver's slots</translation>
    </message>
    <message>
        <source>&amp;Backups, newest first:</source>
        <translation>&amp;Backups, newest first:</translation>
    </message>
    <message>
        <source>Backups</source>
        <translation>Backups</translation>
    </message>
    <message>
        <source>%1   cannot be read</source>
        <translation>%1   cannot be read</translation>
    </message>
    <message>
        <source>%1   same as the slots shown</source>
        <translation>%1   same as the slots shown</translation>
    </message>
    <message>
        <source>%1   1 slot differs</source>
        <translation>%1   1 slot differs</translation>
    </message>
    <message>
        <source>%1   %2 slots differ</source>
        <translation>%1   %2 slots differ</translation>
    </message>
    <message>
        <source>Choose a backup first.</source>
        <translation>Choose a backup first.</translation>
    </message>
    <message>
        <source>Open Backup %1</source>
        <translation>Open Backup %1</translation>
    </message>
    <message>
        <source>The block of %1 x %2 cells does not fit from slot %3, %4 on; nothing was changed.</source>
        <translation>The block of %1 x %2 cells does not fit from slot %3, %4 on; nothing was changed.</translation>
    </message>
    <message>
        <source>Slot %1: %2; nothing was changed.</source>
        <translation>Slot %1: %2; nothing was changed.</translation>
    </message>
    <message>
        <source>Edit %1 of slot %2</source>
        <translation>Edit %1 of slot %2</translation>
    </message>
    <message>
        <source>Paste %1 cells</source>
        <translation>Paste %1 cells</translation>
    </message>
    <message>
        <source>Read from receiver</source>
        <translation>Read from receiver</translation>
    </message>
    <message>
        <source>Slots replaced</source>
        <translation>Slots replaced</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Reading the memory slots</source>
        <translation>Reading the memory slots</translation>
    </message>
    <message>
        <source>Writing the memory slots</source>
        <translation>Writing the memory slots</translation>
    </message>
    <message>
        <source>Clearing the memory slots</source>
        <translation>Clearing the memory slots</translation>
    </message>
    <message>
        <source>%1 stopped at slot %2 of 63: %3.</source>
        <translation>%1 stopped at slot %2 of 63: %3.</translation>
    </message>
    <message>
        <source>no slot was changed</source>
        <translation>no slot was changed</translation>
    </message>
    <message>
        <source>no slot was cleared</source>
        <translation>no slot was cleared</translation>
    </message>
    <message>
        <source>slot 1 holds the new data</source>
        <translation>slot 1 holds the new data</translation>
    </message>
    <message>
        <source>slot 1 is cleared</source>
        <translation>slot 1 is cleared</translation>
    </message>
    <message>
        <source>slots 1–%1 hold the new data</source>
        <translation>slots 1–%1 hold the new data</translation>
    </message>
    <message>
        <source>slots 1–%1 are cleared</source>
        <translation>slots 1–%1 are cleared</translation>
    </message>
    <message>
        <source>Reading slot %1 of 63…</source>
        <translation>Reading slot %1 of 63…</translation>
    </message>
    <message>
        <source>Writing slot %1 of 63…</source>
        <translation>Writing slot %1 of 63…</translation>
    </message>
    <message>
        <source>Clearing slot %1 of 63…</source>
        <translation>Clearing slot %1 of 63…</translation>
    </message>
    <message>
        <source>Reading the slots back…</source>
        <translation>Reading the slots back…</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>Open %1</translation>
    </message>
    <message>
        <source>Scan incomplete: %1 of %2 columns missing!</source>
        <translation>Scan incomplete: %1 of %2 columns missing!</translation>
    </message>
    <message>
        <source>%1 is running: try again when it has ended.</source>
        <translation>%1 is running: try again when it has ended.</translation>
    </message>
    <message>
        <source>No connection or no file available!</source>
        <translation>No connection or no file available!</translation>
    </message>
    <message>
        <source>Task id %1 is larger than FFFF and cannot be sent: nothing loaded!</source>
        <translation>Task id %1 is larger than FFFF and cannot be sent: nothing loaded!</translation>
    </message>
    <message>
        <source>File "%1" is empty: there is nothing to load.</source>
        <translation>File "%1" is empty: there is nothing to load.</translation>
    </message>
    <message>
        <source>File "%1" cannot be read: %2</source>
        <translation>File "%1" cannot be read: %2</translation>
    </message>
    <message>
        <source>File "%1" is %2 bytes; at most %3 bytes (%4 MiB) can be loaded into the receiver.</source>
        <translation>File "%1" is %2 bytes; at most %3 bytes (%4 MiB) can be loaded into the receiver.</translation>
    </message>
    <message>
        <source>It is %1, not a regular file.</source>
        <translation>It is %1, not a regular file.</translation>
    </message>
    <message>
        <source>It is %1, not a regular file, and is not replaced.</source>
        <translation>It is %1, not a regular file, and is not replaced.</translation>
    </message>
    <message>
        <source>a FIFO (named pipe)</source>
        <translation>a FIFO (named pipe)</translation>
    </message>
    <message>
        <source>a character device</source>
        <translation>a character device</translation>
    </message>
    <message>
        <source>a block device</source>
        <translation>a block device</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>not a file</translation>
    </message>
    <message>
        <source>Line not sent: the receiver cannot take the characters %1</source>
        <translation>Line not sent: the receiver cannot take the characters %1</translation>
    </message>
    <message>
        <source>Name (SSID) "%1" is longer than 10 characters: it would be cut!</source>
        <translation>Name (SSID) "%1" is longer than 10 characters: it would be cut!</translation>
    </message>
    <message>
        <source>Passkey "%1" is longer than 22 characters: it would be cut!</source>
        <translation>Passkey "%1" is longer than 22 characters: it would be cut!</translation>
    </message>
    <message>
        <source>Name (SSID) "%1" holds characters the WiFi module cannot take: %2</source>
        <translation>Name (SSID) "%1" holds characters the WiFi module cannot take: %2</translation>
    </message>
    <message>
        <source>Passkey "%1" holds characters the WiFi module cannot take: %2</source>
        <translation>Passkey "%1" holds characters the WiFi module cannot take: %2</translation>
    </message>
    <message>
        <source>The receiver reported channel "%1", not a number from 0 to 11: choose the channel!</source>
        <translation>The receiver reported channel "%1", not a number from 0 to 11: choose the channel!</translation>
    </message>
    <message>
        <source>The receiver reported TX-Power "%1", not a number from 0 to 19: choose the power!</source>
        <translation>The receiver reported TX-Power "%1", not a number from 0 to 19: choose the power!</translation>
    </message>
    <message>
        <source>Unexpected reply from the device (code 0x%1).</source>
        <translation>Unexpected reply from the device (code 0x%1).</translation>
    </message>
    <message>
        <source>No backup of the receiver's slots: %1</source>
        <translation>No backup of the receiver's slots: %1</translation>
    </message>
    <message>
        <source>no connection to the receiver</source>
        <translation>no connection to the receiver</translation>
    </message>
    <message>
        <source>another slot operation is running</source>
        <translation>another slot operation is running</translation>
    </message>
    <message>
        <source>the connection was lost</source>
        <translation>the connection was lost</translation>
    </message>
    <message>
        <source>the read failed</source>
        <translation>the read failed</translation>
    </message>
    <message>
        <source>the receiver answered for %1 of 63 slots</source>
        <translation>the receiver answered for %1 of 63 slots</translation>
    </message>
    <message>
        <source>the slots equal this newest backup; no new one was stored</source>
        <translation>the slots equal this newest backup; no new one was stored</translation>
    </message>
    <message>
        <source>63 slots written and verified</source>
        <translation>63 slots written and verified</translation>
    </message>
    <message>
        <source>63 slots written; reading them back failed: %1</source>
        <translation>63 slots written; reading them back failed: %1</translation>
    </message>
    <message>
        <source>Name "%1" is longer than %2 characters</source>
        <translation>Name "%1" is longer than %2 characters</translation>
    </message>
    <message>
        <source>Platz is the slot's number and cannot be changed</source>
        <translation>Platz is the slot's number and cannot be changed</translation>
    </message>
    <message>
        <source>Find WLAN Connection</source>
        <translation>Find WLAN Connection</translation>
    </message>
    <message>
        <source>kein Audio-Device</source>
        <translation>no audio device</translation>
    </message>
    <message>
        <source>The CSV text has no header row.</source>
        <translation>The CSV text has no header row.</translation>
    </message>
    <message>
        <source>The CSV text is larger than 1 MiB.</source>
        <translation>The CSV text is larger than 1 MiB.</translation>
    </message>
    <message>
        <source>Line %1, column %2: %3</source>
        <translation>Line %1, column %2: %3</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>Write failed</source>
        <translation>Write failed</translation>
    </message>
    <message>
        <source>No folder for backups.</source>
        <translation>No folder for backups.</translation>
    </message>
    <message>
        <source>Cannot create the backup folder "%1".</source>
        <translation>Cannot create the backup folder "%1".</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>line %1</translation>
    </message>
    <message>
        <source>: "=" missing</source>
        <translation>: "=" missing</translation>
    </message>
    <message>
        <source>: no colour</source>
        <translation>: no colour</translation>
    </message>
    <message>
        <source>: unknown colour group</source>
        <translation>: unknown colour group</translation>
    </message>
    <message>
        <source>: unknown colour role</source>
        <translation>: unknown colour role</translation>
    </message>
    <message>
        <source>the base style Fusion is missing</source>
        <translation>the base style Fusion is missing</translation>
    </message>
    <message>
        <source>Visual style "%1" cannot be applied: %2</source>
        <translation>Visual style "%1" cannot be applied: %2</translation>
    </message>
    <message>
        <source>a directory</source>
        <translation>a directory</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>a socket</translation>
    </message>
    <message>
        <source>The file is too large: %1 bytes, at most %2 bytes are read.</source>
        <translation>The file is too large: %1 bytes, at most %2 bytes are read.</translation>
    </message>
    <message>
        <source>Its name is not UTF-8 text, so this program cannot open it; rename the file.</source>
        <translation>Its name is not UTF-8 text, so this program cannot open it; rename the file.</translation>
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
        <translation>%1%  %2  %3  %4 left</translation>
    </message>
    <message>
        <source>no USB library configured (LMK_USB_LIBRARY is not set)</source>
        <translation>no USB library configured (LMK_USB_LIBRARY is not set)</translation>
    </message>
    <message>
        <source>LMK_USB_LIBRARY %1: %2</source>
        <translation>LMK_USB_LIBRARY %1: %2</translation>
    </message>
    <message>
        <source>LMK_USB_LIBRARY %1 does not export LMK_Open, LMK_Write and LMK_Close</source>
        <translation>LMK_USB_LIBRARY %1 does not export LMK_Open, LMK_Write and LMK_Close</translation>
    </message>
    <message>
        <source>the USB library found no receiver</source>
        <translation>the USB library found no receiver</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>Writing</source>
        <translation>Writing</translation>
    </message>
    <message>
        <source>Clearing</source>
        <translation>Clearing</translation>
    </message>
    <message>
        <source>%1 slot %2 of 63…</source>
        <translation>%1 slot %2 of 63…</translation>
    </message>
    <message>
        <source>unexpected reply from the device (code 0x%1)</source>
        <translation>unexpected reply from the device (code 0x%1)</translation>
    </message>
    <message>
        <source>the receiver sent 248 bytes of each record; bytes 248 to 255 of the backup are zero</source>
        <translation>the receiver sent 248 bytes of each record; bytes 248 to 255 of the backup are zero</translation>
    </message>
    <message>
        <source>quoted cell not closed</source>
        <translation>quoted cell not closed</translation>
    </message>
    <message>
        <source>text after a closing quote</source>
        <translation>text after a closing quote</translation>
    </message>
    <message>
        <source>quote inside a cell that is not quoted</source>
        <translation>quote inside a cell that is not quoted</translation>
    </message>
    <message>
        <source>read as UTF-16 text</source>
        <translation>read as UTF-16 text</translation>
    </message>
    <message>
        <source>read as Windows-1252 text (it is not UTF-8)</source>
        <translation>read as Windows-1252 text (it is not UTF-8)</translation>
    </message>
    <message>
        <source>%1 cannot be stored in a name (Latin-1 characters only)</source>
        <translation>%1 cannot be stored in a name (Latin-1 characters only)</translation>
    </message>
    <message>
        <source>a name cannot hold a control character (U+%1, such as a line break or a tab)</source>
        <translation>a name cannot hold a control character (U+%1, such as a line break or a tab)</translation>
    </message>
    <message>
        <source>name longer than %1 characters</source>
        <translation>name longer than %1 characters</translation>
    </message>
    <message>
        <source>%1 is not a frequency with one decimal</source>
        <translation>%1 is not a frequency with one decimal</translation>
    </message>
    <message>
        <source>%1 does not fit in 32 bits (-214748364.8 to 214748364.7)</source>
        <translation>%1 does not fit in 32 bits (-214748364.8 to 214748364.7)</translation>
    </message>
    <message>
        <source>%1 is not a whole number from 0 to 65535</source>
        <translation>%1 is not a whole number from 0 to 65535</translation>
    </message>
    <message>
        <source>%1 is not a whole number from -32768 to 32767</source>
        <translation>%1 is not a whole number from -32768 to 32767</translation>
    </message>
    <message>
        <source>%1 is not a whole number from 0 to 15</source>
        <translation>%1 is not a whole number from 0 to 15</translation>
    </message>
    <message>
        <source>%1 is not "%2" or "%3"</source>
        <translation>%1 is not "%2" or "%3"</translation>
    </message>
    <message>
        <source>empty; one of %1</source>
        <translation>empty; one of %1</translation>
    </message>
    <message>
        <source>%1 is not one of %2</source>
        <translation>%1 is not one of %2</translation>
    </message>
    <message>
        <source>not a whole record</source>
        <translation>not a whole record</translation>
    </message>
    <message>
        <source>not UTF-8 text</source>
        <translation>not UTF-8 text</translation>
    </message>
    <message>
        <source>(no heading) in column %1</source>
        <translation>(no heading) in column %1</translation>
    </message>
    <message>
        <source>column "%1" appears twice</source>
        <translation>column "%1" appears twice</translation>
    </message>
    <message>
        <source>column "%1" is missing; the columns are %2</source>
        <translation>column "%1" is missing; the columns are %2</translation>
    </message>
    <message>
        <source>ignored the columns %1 (the columns are %2)</source>
        <translation>ignored the columns %1 (the columns are %2)</translation>
    </message>
    <message>
        <source>no column %1: those fields keep the base image's values</source>
        <translation>no column %1: those fields keep the base image's values</translation>
    </message>
    <message>
        <source>%1 cells, the header row has %2</source>
        <translation>%1 cells, the header row has %2</translation>
    </message>
    <message>
        <source>%1: not UTF-8 text</source>
        <translation>%1: not UTF-8 text</translation>
    </message>
    <message>
        <source>Platz: "%1" is not a slot number from 1 to 63</source>
        <translation>Platz: "%1" is not a slot number from 1 to 63</translation>
    </message>
    <message>
        <source>Platz: slot %1 is already on line %2</source>
        <translation>Platz: slot %1 is already on line %2</translation>
    </message>
    <message>
        <source>only in %1</source>
        <translation>only in %1</translation>
    </message>
    <message>
        <source>opaque bytes</source>
        <translation>opaque bytes</translation>
    </message>
    <message>
        <source>Only %1 of %2 slots pasted: slot 63 is the last.</source>
        <translation>Only %1 of %2 slots pasted: slot 63 is the last.</translation>
    </message>
    <message>
        <source>the slot holds no whole record</source>
        <translation>the slot holds no whole record</translation>
    </message>
    <message>
        <source>Name "%1": the character "%2" cannot be stored (Latin-1 characters only)</source>
        <translation>Name "%1": the character "%2" cannot be stored (Latin-1 characters only)</translation>
    </message>
    <message>
        <source>The device sent 248 of the 256 bytes of a slot; the last 8 bytes of such slots were not received and keep their previous content.</source>
        <translation>The device sent 248 of the 256 bytes of a slot; the last 8 bytes of such slots were not received and keep their previous content.</translation>
    </message>
    <message>
        <source>The memory image holds %1 of the 63 slots (%2 of %3 bytes); nothing was written.</source>
        <translation>The memory image holds %1 of the 63 slots (%2 of %3 bytes); nothing was written.</translation>
    </message>
    <message>
        <source>63 slots written, but %1 %2 from what was written</source>
        <translation>63 slots written, but %1 %2 from what was written</translation>
    </message>
    <message>
        <source> differs</source>
        <translation> differs</translation>
    </message>
    <message>
        <source> differ</source>
        <translation> differ</translation>
    </message>
    <message>
        <source>The receiver sends 248 of the 256 bytes of each slot when it is read, so bytes 249 to 256 of the slots were not read from it. A write sends all 256 bytes of every slot: those 8 bytes of every slot in the receiver then become the ones in the image.</source>
        <translation>The receiver sends 248 of the 256 bytes of each slot when it is read, so bytes 249 to 256 of the slots were not read from it. A write sends all 256 bytes of every slot: those 8 bytes of every slot in the receiver then become the ones in the image.</translation>
    </message>
    <message>
        <source>[*] - Memory Slots</source>
        <translation>[*] - Memory Slots</translation>
    </message>
    <message>
        <source> (the receiver sent 248 bytes of each record; the last 8 were not compared)</source>
        <translation> (the receiver sent 248 bytes of each record; the last 8 were not compared)</translation>
    </message>
    <message>
        <source>Backup of the receiver's slots: %1%2</source>
        <translation>Backup of the receiver's slots: %1%2</translation>
    </message>
    <message>
        <source>Bytes: %1</source>
        <translation>Bytes: %1</translation>
    </message>
    <message>
        <source>   cannot be read</source>
        <translation>   cannot be read</translation>
    </message>
    <message>
        <source>   same as the slots shown</source>
        <translation>   same as the slots shown</translation>
    </message>
    <message>
        <source>   1 slot differs</source>
        <translation>   1 slot differs</translation>
    </message>
    <message>
        <source>   %1 slots differ</source>
        <translation>   %1 slots differ</translation>
    </message>
    <message>
        <source>Slot %1: %2.</source>
        <translation>Slot %1: %2.</translation>
    </message>
    <message>
        <source>Slot %1: </source>
        <translation>Slot %1: </translation>
    </message>
    <message>
        <source>the image</source>
        <translation>the image</translation>
    </message>
    <message>
        <source>the receiver</source>
        <translation>the receiver</translation>
    </message>
    <message>
        <source>-:-- left</source>
        <translation>-:-- left</translation>
    </message>
    <message>
        <source> left</source>
        <translation> left</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>%1 left</translation>
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
        <translation>the system</translation>
    </message>
    <message>
        <source> at %1%</source>
        <translation> at %1%</translation>
    </message>
    <message>
        <source>line </source>
        <translation>line </translation>
    </message>
    <message>
        <source>lines </source>
        <translation>lines </translation>
    </message>
    <message>
        <source> and %1 more</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <source>slot CSV</source>
        <translation>slot CSV</translation>
    </message>
    <message>
        <source>gqrx bookmarks</source>
        <translation>gqrx bookmarks</translation>
    </message>
    <message>
        <source>CHIRP CSV</source>
        <translation>CHIRP CSV</translation>
    </message>
    <message>
        <source>EiBi schedule</source>
        <translation>EiBi schedule</translation>
    </message>
    <message>
        <source>The list is larger than 16 MiB.</source>
        <translation>The list is larger than 16 MiB.</translation>
    </message>
    <message>
        <source>This is no frequency list that can be read here (gqrx bookmarks, CHIRP CSV, EiBi schedule or the slot CSV).</source>
        <translation>This is no frequency list that can be read here (gqrx bookmarks, CHIRP CSV, EiBi schedule or the slot CSV).</translation>
    </message>
    <message>
        <source>The slot CSV names its slots itself; it is imported as it is.</source>
        <translation>The slot CSV names its slots itself; it is imported as it is.</translation>
    </message>
    <message>
        <source>The %1 hold no entry.</source>
        <translation>The %1 hold no entry.</translation>
    </message>
    <message>
        <source>line %1 "%2" %3</source>
        <translation>line %1 "%2" %3</translation>
    </message>
    <message>
        <source>%1 %2 skipped: the slots hold frequencies from 0 Hz to below 100 MHz (%3</source>
        <translation>%1 %2 skipped: the slots hold frequencies from 0 Hz to below 100 MHz (%3</translation>
    </message>
    <message>
        <source>, and %1 more</source>
        <translation>, and %1 more</translation>
    </message>
    <message>
        <source>name "%1" stored as "%2" (changed to the slots' characters and cut to %3)</source>
        <translation>name "%1" stored as "%2" (changed to the slots' characters and cut to %3)</translation>
    </message>
    <message>
        <source>name "%1" stored as "%2" (changed to the slots' characters)</source>
        <translation>name "%1" stored as "%2" (changed to the slots' characters)</translation>
    </message>
    <message>
        <source>name "%1" cut to %2 characters: "%3"</source>
        <translation>name "%1" cut to %2 characters: "%3"</translation>
    </message>
    <message>
        <source>no mode: Modulation Auto</source>
        <translation>no mode: Modulation Auto</translation>
    </message>
    <message>
        <source>mode "%1" is not one of the receiver's: Modulation Auto</source>
        <translation>mode "%1" is not one of the receiver's: Modulation Auto</translation>
    </message>
    <message>
        <source>bandwidth %1 Hz does not fit (0 to 65535): Bandbreite unchanged</source>
        <translation>bandwidth %1 Hz does not fit (0 to 65535): Bandwidth unchanged</translation>
    </message>
    <message>
        <source>The first slot must be from 1 to 63, not %1.</source>
        <translation>The first slot must be from 1 to 63, not %1.</translation>
    </message>
    <message>
        <source>%1 entries are chosen, but from slot %2 to 63 there %3 only %4 %5.</source>
        <translation>%1 entries are chosen, but from slot %2 to 63 there %3 only %4 %5.</translation>
    </message>
    <message>
        <source>No entry %1 in the list.</source>
        <translation>No entry %1 in the list.</translation>
    </message>
    <message>
        <source>Slot %1: %2</source>
        <translation>Slot %1: %2</translation>
    </message>
    <message>
        <source>Slot %1: left out, its frequency %2 is below 0</source>
        <translation>Slot %1: left out, its frequency %2 is below 0</translation>
    </message>
    <message>
        <source>Slot %1: control characters of the name written as spaces</source>
        <translation>Slot %1: control characters of the name written as spaces</translation>
    </message>
    <message>
        <source>Slot %1: %2 written as %3 Hz</source>
        <translation>Slot %1: %2 written as %3 Hz</translation>
    </message>
    <message>
        <source>The CHIRP CSV has no header row.</source>
        <translation>The CHIRP CSV has no header row.</translation>
    </message>
    <message>
        <source>The CHIRP CSV has no column "Frequency".</source>
        <translation>The CHIRP CSV has no column "Frequency".</translation>
    </message>
    <message>
        <source>not read: no frequency in MHz</source>
        <translation>not read: no frequency in MHz</translation>
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
        <translation>Slot %1: Modulation SSB written as USB</translation>
    </message>
    <message>
        <source>CW</source>
        <translation>CW</translation>
    </message>
    <message>
        <source>Slot %1: Modulation index %2 written as Auto</source>
        <translation>Slot %1: Modulation index %2 written as Auto</translation>
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
        <translation>not read: not a schedule row (kHz;HHMM-HHMM;Days;ITU;Station;...)</translation>
    </message>
    <message>
        <source>name no days as Mo-Fr, Sa,Su or 1245: taken as every day</source>
        <translation>name no days as Mo-Fr, Sa,Su or 1245: taken as every day</translation>
    </message>
    <message>
        <source>not read: not a bookmark (Frequency; Name; Modulation; Bandwidth; Tags)</source>
        <translation>not read: not a bookmark (Frequency; Name; Modulation; Bandwidth; Tags)</translation>
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
        <translation>Bandwidth</translation>
    </message>
    <message>
        <source>Slot %1: name "%2" written as "%3" (';' separates the fields)</source>
        <translation>Slot %1: name "%2" written as "%3" (';' separates the fields)</translation>
    </message>
    <message>
        <source>CW-U</source>
        <translation>CW-U</translation>
    </message>
    <message>
        <source>Slot %1: Modulation %2 written as AM</source>
        <translation>Slot %1: Modulation %2 written as AM</translation>
    </message>
    <message>
        <source>index %1</source>
        <translation>index %1</translation>
    </message>
    <message>
        <source>The memory image holds no slots (0 bytes); nothing was saved. Read the slots or open a .Mem file first.</source>
        <translation>The memory image holds no slots (0 bytes); nothing was saved. Read the slots or open a .Mem file first.</translation>
    </message>
    <message>
        <source>Cannot write file "%1". %2</source>
        <translation>Cannot write file "%1". %2</translation>
    </message>
    <message>
        <source>Too many recovery files named %1.</source>
        <translation>Too many recovery files named %1.</translation>
    </message>
    <message>
        <source>When the program last had to end, the memory slots had changes that were not saved; they were kept in %1.</source>
        <translation>When the program last had to end, the memory slots had changes that were not saved; they were kept in %1.</translation>
    </message>
    <message>
        <source> %1 older ones are listed under File, Backups… of the memory editor.</source>
        <translation> %1 older ones are listed under File, Backups… of the memory editor.</translation>
    </message>
    <message>
        <source>"%1" could be read with "." or "," as the decimal mark; the file's separator does not tell which (write it without digit grouping)</source>
        <translation>"%1" could be read with "." or "," as the decimal mark; the file's separator does not tell which (write it without digit grouping)</translation>
    </message>
    <message>
        <source>a name cannot hold a control character (U+%1, such as a line break or a tab); write it as \x%2</source>
        <translation>a name cannot hold a control character (U+%1, such as a line break or a tab); write it as \x%2</translation>
    </message>
    <message>
        <source>a name cannot hold a zero byte (\x00)</source>
        <translation>a name cannot hold a zero byte (\x00)</translation>
    </message>
    <message>
        <source>excel-de</source>
        <translation>excel-de</translation>
    </message>
    <message>
        <source>Error on reading! %1. The memory slots were not changed.</source>
        <translation>Error on reading! %1. The memory slots were not changed.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> and </translation>
    </message>
    <message>
        <source>slot </source>
        <translation>slot </translation>
    </message>
    <message>
        <source>slots </source>
        <translation>slots </translation>
    </message>
    <message>
        <source>the device answered 1 read request with a status word instead of a slot</source>
        <translation>the device answered 1 read request with a status word instead of a slot</translation>
    </message>
    <message>
        <source>the device answered %1 read requests with a status word instead of a slot</source>
        <translation>the device answered %1 read requests with a status word instead of a slot</translation>
    </message>
    <message>
        <source> did not come</source>
        <translation> did not come</translation>
    </message>
    <message>
        <source> came more than once</source>
        <translation> came more than once</translation>
    </message>
    <message>
        <source>records for slot number %1 came (there are only slots 1 to 63; they were not stored)</source>
        <translation>records for slot number %1 came (there are only slots 1 to 63; they were not stored)</translation>
    </message>
    <message>
        <source>; the state of slot %1 is unknown (its acknowledgement did not come)</source>
        <translation>; the state of slot %1 is unknown (its acknowledgement did not come)</translation>
    </message>
    <message>
        <source>Import Frequency List - %1</source>
        <translation>Import Frequency List - %1</translation>
    </message>
    <message>
        <source>Format of the list</source>
        <translation>Format of the list</translation>
    </message>
    <message>
        <source>Name contains</source>
        <translation>Name contains</translation>
    </message>
    <message>
        <source>part of the name or station</source>
        <translation>part of the name or station</translation>
    </message>
    <message>
        <source>Range in kHz</source>
        <translation>Range in kHz</translation>
    </message>
    <message>
        <source>On air at, UTC</source>
        <translation>On air at, UTC</translation>
    </message>
    <message>
        <source>Day, UTC</source>
        <translation>Day, UTC</translation>
    </message>
    <message>
        <source>Any day</source>
        <translation>Any day</translation>
    </message>
    <message>
        <source>First slot</source>
        <translation>First slot</translation>
    </message>
    <message>
        <source>Entries of the list</source>
        <translation>Entries of the list</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Time (UTC)</source>
        <translation>Time (UTC)</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Days</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Becomes</source>
        <translation>Becomes</translation>
    </message>
    <message>
        <source>Check &amp;all shown</source>
        <translation>Check &amp;all shown</translation>
    </message>
    <message>
        <source>&amp;Uncheck all shown</source>
        <translation>&amp;Uncheck all shown</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Import</translation>
    </message>
    <message>
        <source>&amp;Format:</source>
        <translation>&amp;Format:</translation>
    </message>
    <message>
        <source>Name &amp;contains:</source>
        <translation>Name &amp;contains:</translation>
    </message>
    <message>
        <source>&amp;Range (kHz):</source>
        <translation>&amp;Range (kHz):</translation>
    </message>
    <message>
        <source>&amp;Day (UTC):</source>
        <translation>&amp;Day (UTC):</translation>
    </message>
    <message>
        <source>On air &amp;at (UTC):</source>
        <translation>On air &amp;at (UTC):</translation>
    </message>
    <message>
        <source>First &amp;slot:</source>
        <translation>First &amp;slot:</translation>
    </message>
    <message>
        <source>&amp;Entries:</source>
        <translation>&amp;Entries:</translation>
    </message>
    <message>
        <source>%1 entries read as %2.</source>
        <translation>%1 entries read as %2.</translation>
    </message>
    <message>
        <source>Line %1 of the list</source>
        <translation>Line %1 of the list</translation>
    </message>
    <message>
        <source>Range: LOW-HIGH in kHz, e.g. 5900-6200.</source>
        <translation>Range: LOW-HIGH in kHz, e.g. 5900-6200.</translation>
    </message>
    <message>
        <source>On air at: a time in UTC as HHMM, e.g. 1800.</source>
        <translation>On air at: a time in UTC as HHMM, e.g. 1800.</translation>
    </message>
    <message>
        <source>skipped: the slots hold 0 Hz to below 100 MHz</source>
        <translation>skipped: the slots hold 0 Hz to below 100 MHz</translation>
    </message>
    <message>
        <source>no slot left</source>
        <translation>no slot left</translation>
    </message>
    <message>
        <source>Slot %1: %2 </source>
        <translation>Slot %1: %2 </translation>
    </message>
    <message>
        <source>No entry is chosen.</source>
        <translation>No entry is chosen.</translation>
    </message>
    <message>
        <source>%1 entries are chosen, but from slot %2 to 63 there are only %3 slots: choose fewer.</source>
        <translation>%1 entries are chosen, but from slot %2 to 63 there are only %3 slots: choose fewer.</translation>
    </message>
    <message>
        <source>%1 %2 chosen: slot%3 %4%5.</source>
        <translation>%1 %2 chosen: slot%3 %4%5.</translation>
    </message>
    <message>
        <source> to %1</source>
        <translation> to %1</translation>
    </message>
    <message>
        <source>Import Frequency List %1</source>
        <translation>Import Frequency List %1</translation>
    </message>
    <message>
        <source>Imported %1 %2 of %3 (%4) into slot%5 %6%7</source>
        <translation>Imported %1 %2 of %3 (%4) into slot%5 %6%7</translation>
    </message>
    <message>
        <source>Frequency list (gqrx, CHIRP, EiBi) *.csv</source>
        <translation>Frequency list (gqrx, CHIRP, EiBi) *.csv</translation>
    </message>
    <message>
        <source>All files *</source>
        <translation>All files *</translation>
    </message>
    <message>
        <source>%1 is a slot CSV: File, Import CSV… puts it onto the slots.</source>
        <translation>%1 is a slot CSV: File, Import CSV… puts it onto the slots.</translation>
    </message>
    <message>
        <source>%1 is not a list that can be read here (gqrx bookmarks, CHIRP CSV or EiBi schedule).</source>
        <translation>%1 is not a list that can be read here (gqrx bookmarks, CHIRP CSV or EiBi schedule).</translation>
    </message>
    <message>
        <source>Frequency list *.csv</source>
        <translation>Frequency list *.csv</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>Exported %1 slot%2 as %3 to %4</source>
        <translation>Exported %1 slot%2 as %3 to %4</translation>
    </message>
    <message>
        <source>Export CSV for E&amp;xcel (German)…</source>
        <translation>Export CSV for E&amp;xcel (German)…</translation>
    </message>
    <message>
        <source>Import &amp;Frequency List…</source>
        <translation>Import &amp;Frequency List…</translation>
    </message>
    <message>
        <source>Export Frequency &amp;List…</source>
        <translation>Export Frequency &amp;List…</translation>
    </message>
    <message>
        <source>   unsaved changes (recovered)</source>
        <translation>   unsaved changes (recovered)</translation>
    </message>
    <message>
        <source>Open Recovered %1</source>
        <translation>Open Recovered %1</translation>
    </message>
    <message>
        <source>USB Terminal session</source>
        <translation>USB Terminal session</translation>
    </message>
    <message>
        <source>Line to send</source>
        <translation>Line to send</translation>
    </message>
    <message>
        <source>Line to send (Enter)</source>
        <translation>Line to send (Enter)</translation>
    </message>
    <message>
        <source>Log…</source>
        <translation>Log…</translation>
    </message>
    <message>
        <source>Timestamps</source>
        <translation>Timestamps</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>Monospace</source>
        <translation>Monospace</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>Find:</translation>
    </message>
    <message>
        <source>Ctrl+F</source>
        <translation>Ctrl+F</translation>
    </message>
    <message>
        <source>Scrollback lines</source>
        <translation>Scrollback lines</translation>
    </message>
    <message>
        <source>Log stopped: cannot write to "%1". %2</source>
        <translation>Log stopped: cannot write to "%1". %2</translation>
    </message>
    <message>
        <source>RX: %L1 bytes   TX: %L2 bytes</source>
        <translation>RX: %L1 bytes   TX: %L2 bytes</translation>
    </message>
    <message>
        <source>Terminal log *.log</source>
        <translation>Terminal log *.log</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>All files</translation>
    </message>
    <message>
        <source>Cannot open the log file "%1". %2</source>
        <translation>Cannot open the log file "%1". %2</translation>
    </message>
    <message>
        <source>Logging to %1</source>
        <translation>Logging to %1</translation>
    </message>
    <message>
        <source>"%1" not found</source>
        <translation>"%1" not found</translation>
    </message>
    <message>
        <source>entry</source>
        <translation>entry</translation>
    </message>
    <message>
        <source>entries</source>
        <translation>entries</translation>
    </message>
    <message>
        <source>slot</source>
        <translation>slot</translation>
    </message>
    <message>
        <source>slots</source>
        <translation>slots</translation>
    </message>
    <message>
        <source>%1 entry chosen: slot %2.</source>
        <translation>%1 entry chosen: slot %2.</translation>
    </message>
    <message>
        <source>Imported %1 entry of %2 (%3) into slot %4</source>
        <translation>Imported %1 entry of %2 (%3) into slot %4</translation>
    </message>
    <message>
        <source>Exported %1 slot as %2 to %3</source>
        <translation>Exported %1 slot as %2 to %3</translation>
    </message>
    <message>
        <source>RX: %1 bytes   TX: %2 bytes</source>
        <translation>RX: %1 bytes   TX: %2 bytes</translation>
    </message>
</context>
</TS>
