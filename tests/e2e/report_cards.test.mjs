// Report cards printed by the browser: Chromium's PDF of the page holds one card per half A4
// page, each class from a new page, and nothing but the cards.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startServer, openBrowser } from './harness.mjs';

let server;
let b;

before(async () => {
  server = await startServer({ binary: process.env.ZEZIZA_ANALYSIS_SERVER });
  b = await openBrowser();
});
after(async () => {
  await b?.close();
  await server?.stop();
});

// Pages of a PDF as Chromium writes it: one page object each.
function pageCount(pdf) {
  return (pdf.toString('latin1').match(/\/Type\s*\/Page(?![a-zA-Z])/g) || []).length;
}

test('report cards: 45 and 3 cards print on 23 and 2 pages, none split', async () => {
  const { page, dialogs } = b;
  await page.goto(server.url + '/');
  await page.waitForFunction(() => document.title === 'analysis journey');
  await b.settled();
  await b.submitBy('#cards');
  assert.equal(await page.title(), '打印成绩单');
  assert.deepEqual(dialogs, []);
  assert.equal(await page.locator('.report-class').count(), 2);
  assert.equal(await page.locator('.report-class').first().locator('.report-card').count(), 45);
  assert.equal(await page.locator('.report-card').count(), 48);

  // The print style sheet is the program's own file.
  const sheet = await page.request.get(server.url + '/css/report_cards.css');
  assert.equal(sheet.status(), 200);
  assert.match(await sheet.text(), /@media print/);

  await page.emulateMedia({ media: 'print' });
  const halfPage = (297 / 2) * (96 / 25.4);  // CSS pixels of half an A4 page
  const cards = await page.$$eval('.report-card', (all) => all.map((c) => ({
    height: c.getBoundingClientRect().height,
    breakInside: getComputedStyle(c).breakInside,
  })));
  for (const card of cards) {
    assert.ok(card.height > halfPage * 0.9 && card.height <= halfPage, `card height ${card.height}`);
    assert.equal(card.breakInside, 'avoid');
  }
  // Nothing else of the page is printed.
  const shown = await page.$$eval('body *', (all) => all.filter((e) =>
    getComputedStyle(e).display !== 'none' && e.getClientRects().length > 0 &&
    !e.closest('.report-cards') && !e.querySelector('.report-cards')).length);
  assert.equal(shown, 0);

  const pdf = await page.pdf({ preferCSSPageSize: true, printBackground: false });
  assert.equal(pageCount(pdf), 23 + 2);
  await page.emulateMedia({ media: 'screen' });
});
