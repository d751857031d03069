// Reads the symbols that `quillet-cli qr --dump` printed (one after another on
// standard input) as an Android scanner does: ZXing's Java decoder without
// hints, then its result parsers. Prints one line per symbol: the kind of
// result and its fields, or "UNREAD". With the argument "raw", the kind, a
// tab and the text read, its \r \n \t and \\ escaped.
import com.google.zxing.BinaryBitmap;
import com.google.zxing.DecodeHintType;
import com.google.zxing.RGBLuminanceSource;
import com.google.zxing.Result;
import com.google.zxing.client.result.*;
import com.google.zxing.common.HybridBinarizer;
import com.google.zxing.qrcode.QRCodeReader;
import java.io.BufferedReader;
import java.io.InputStreamReader;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Map;

public class ReadAsPhone {
  static final int SCALE = 4, QUIET = 4;

  public static void main(String[] args) throws Exception {
    PrintStream out = new PrintStream(System.out, true, StandardCharsets.UTF_8);
    BufferedReader in = new BufferedReader(new InputStreamReader(System.in, StandardCharsets.US_ASCII));
    boolean raw = args.length > 0 && args[0].equals("raw");
    List<String> rows = new ArrayList<>();
    for (String line = in.readLine();; line = in.readLine()) {
      if (line == null || line.startsWith("version")) {
        if (!rows.isEmpty()) out.println(Read(rows, raw));
        rows.clear();
        if (line == null) break;
      } else {
        rows.add(line);
      }
    }
  }

  static String Read(List<String> rows, boolean raw) {
    int modules = rows.size(), side = (modules + 2 * QUIET) * SCALE;
    int[] pixels = new int[side * side];
    Arrays.fill(pixels, 0xFFFFFFFF);
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        int mx = x / SCALE - QUIET, my = y / SCALE - QUIET;
        if (mx >= 0 && my >= 0 && mx < modules && my < modules && rows.get(my).charAt(mx) == '1')
          pixels[y * side + x] = 0xFF000000;
      }
    // The finder search now and then misses a clean synthetic symbol that a
    // camera's frames would give it again; the pure-image search reads it.
    BinaryBitmap bitmap = new BinaryBitmap(new HybridBinarizer(new RGBLuminanceSource(side, side, pixels)));
    for (Map<DecodeHintType, Object> hints : List.of(Map.<DecodeHintType, Object>of(DecodeHintType.TRY_HARDER, true),
                                                     Map.<DecodeHintType, Object>of(DecodeHintType.PURE_BARCODE, true))) {
      try {
        Result result = new QRCodeReader().decode(bitmap, hints);
        ParsedResult parsed = ResultParser.parseResult(result);
        return raw ? parsed.getType() + "\t" + Escaped(result.getText()) : Fields(parsed);
      } catch (Exception e) {
        // try the next way
      }
    }
    return "UNREAD";
  }

  static String Escaped(String text) {
    return text.replace("\\", "\\\\").replace("\r", "\\r").replace("\n", "\\n").replace("\t", "\\t");
  }

  static String Join(String[] values) { return values == null ? "" : String.join(",", values); }

  static String Fields(ParsedResult parsed) {
    String kind = parsed.getType().toString();
    switch (parsed.getType()) {
      case ADDRESSBOOK: {
        AddressBookParsedResult r = (AddressBookParsedResult) parsed;
        return kind + " name=" + Join(r.getNames()) + " tel=" + Join(r.getPhoneNumbers()) + " email=" + Join(r.getEmails()) +
            " org=" + r.getOrg().replace("\n", "/") + " title=" + r.getTitle() + " adr=" + Join(r.getAddresses()).replace("\n", "/") +
            " url=" + Join(r.getURLs()) + " note=" + r.getNote();
      }
      case WIFI: {
        WifiParsedResult r = (WifiParsedResult) parsed;
        return kind + " ssid=" + r.getSsid() + " type=" + r.getNetworkEncryption() + " password=" + r.getPassword() +
            " hidden=" + r.isHidden();
      }
      case URI: return kind + " " + ((URIParsedResult) parsed).getURI();
      case TEL: return kind + " " + ((TelParsedResult) parsed).getNumber();
      case SMS: {
        SMSParsedResult r = (SMSParsedResult) parsed;
        return kind + " to=" + Join(r.getNumbers()) + " body=" + r.getBody().replace("\r\n", "/");
      }
      case EMAIL_ADDRESS: {
        EmailAddressParsedResult r = (EmailAddressParsedResult) parsed;
        return kind + " to=" + Join(r.getTos()) + " subject=" + r.getSubject() + " body=" + r.getBody().replace("\r\n", "/");
      }
      case GEO: {
        GeoParsedResult r = (GeoParsedResult) parsed;
        return kind + " " + r.getLatitude() + "," + r.getLongitude() + " q=" + r.getQuery();
      }
      case CALENDAR: {
        CalendarParsedResult r = (CalendarParsedResult) parsed;
        return kind + " summary=" + r.getSummary() + " start=" + r.getStartTimestamp() + " end=" + r.getEndTimestamp() +
            " location=" + r.getLocation() + " description=" + r.getDescription().replace("\n", "/");
      }
      default: return kind + " " + parsed.getDisplayResult().replace("\n", "/");
    }
  }
}
